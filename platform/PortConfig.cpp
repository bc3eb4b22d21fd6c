#include "platform/PortConfig.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QSerialPortInfo>
#include <QSpinBox>
#include <QStyle>
#include <QVBoxLayout>

#include "platform/PortNames.h"

namespace {
int s_nDataPort = 1;
int s_nTracePort = 2;
} // namespace

CPortConfig::CPortConfig(int dataPort, int tracePort, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Tessoly - Configure Ports"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(
        QStringLiteral(
            "Choose the port numbers of the data and trace ports and the device of each.\n"
            "Type a device path for ports the system does not list (pseudo-terminals)."),
        this));
    // Which ports did not open and why: shown only after a failed attempt.
    m_pFailures = new QWidget(this);
    auto* failures = new QHBoxLayout(m_pFailures);
    failures->setContentsMargins(0, 0, 0, 0);
    auto* icon = new QLabel(m_pFailures);
    const int nIcon = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(nIcon, nIcon));
    icon->setAlignment(Qt::AlignTop);
    failures->addWidget(icon);
    m_pFailureText = new QLabel(m_pFailures);
    m_pFailureText->setWordWrap(true);
    // The way out may be a command to copy.
    m_pFailureText->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_pFailureText->setAccessibleName(QStringLiteral("Ports that did not open"));
    failures->addWidget(m_pFailureText, 1);
    layout->addWidget(m_pFailures);
    m_pFailures->hide();
    auto* form = new QFormLayout;
    m_pDataNumber = new QSpinBox(this);
    m_pDataNumber->setRange(0, 256);
    m_pDataNumber->setValue(dataPort);
    m_pDataNumber->setAccessibleName(QStringLiteral("Data port number"));
    m_pDataDevice = new QComboBox(this);
    m_pDataDevice->setEditable(true);
    m_pDataDevice->setAccessibleName(QStringLiteral("Data port device"));
    m_pTraceNumber = new QSpinBox(this);
    m_pTraceNumber->setRange(0, 256);
    m_pTraceNumber->setValue(tracePort);
    m_pTraceNumber->setAccessibleName(QStringLiteral("Trace port number"));
    m_pTraceDevice = new QComboBox(this);
    m_pTraceDevice->setEditable(true);
    m_pTraceDevice->setAccessibleName(QStringLiteral("Trace port device"));
    form->addRow(QStringLiteral("Data port COM"), m_pDataNumber);
    form->addRow(QStringLiteral("Data port device"), m_pDataDevice);
    form->addRow(QStringLiteral("Trace port COM"), m_pTraceNumber);
    form->addRow(QStringLiteral("Trace port device"), m_pTraceDevice);
    layout->addLayout(form);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    FillDevices(m_pDataDevice, dataPort);
    FillDevices(m_pTraceDevice, tracePort);
    connect(m_pDataNumber, &QSpinBox::valueChanged, this,
            [this](int n) { FillDevices(m_pDataDevice, n); });
    connect(m_pTraceNumber, &QSpinBox::valueChanged, this,
            [this](int n) { FillDevices(m_pTraceDevice, n); });
}

void CPortConfig::ShowFailures(const QList<SPortFailure>& failures)
{
    QStringList lines;
    for (const SPortFailure& f : failures) {
        lines << QStringLiteral("%1 port COM%2 did not open:\n%3\n%4")
                     .arg(f.bTrace ? QStringLiteral("Trace") : QStringLiteral("Data"))
                     .arg(f.nPort)
                     .arg(f.strDevice, f.strReason);
    }
    m_pFailureText->setText(lines.join(QStringLiteral("\n\n")));
    m_pFailures->setVisible(!lines.isEmpty());
}

QString CPortConfig::FailureText() const
{
    return m_pFailures->isVisibleTo(this) ? m_pFailureText->text() : QString();
}

void CPortConfig::FillDevices(QComboBox* box, int port)
{
    box->clear();
    const QString current = CPortNames::DeviceName(port);
    box->addItem(current);
    const auto ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo& info : ports) {
        const QString path = info.systemLocation();
        if (path != current)
            box->addItem(path);
    }
    box->setCurrentIndex(0);
}

int CPortConfig::DataPort() const
{
    return m_pDataNumber->value();
}
int CPortConfig::TracePort() const
{
    return m_pTraceNumber->value();
}
QString CPortConfig::DataDevice() const
{
    return m_pDataDevice->currentText().trimmed();
}
QString CPortConfig::TraceDevice() const
{
    return m_pTraceDevice->currentText().trimmed();
}

int CPortConfig::ShowConfigureDlg(int dataPort, int tracePort, int /*flag*/,
                                  const QList<SPortFailure>& failures)
{
    CPortConfig dlg(dataPort < 0 ? s_nDataPort : dataPort,
                    tracePort < 0 ? s_nTracePort : tracePort);
    dlg.ShowFailures(failures);
    if (dlg.exec() != QDialog::Accepted)
        return 0;
    s_nDataPort = dlg.DataPort();
    s_nTracePort = dlg.TracePort();
    if (!dlg.DataDevice().isEmpty() && dlg.DataDevice() != CPortNames::DeviceName(s_nDataPort))
        CPortNames::SetDevice(s_nDataPort, dlg.DataDevice());
    if (!dlg.TraceDevice().isEmpty() && dlg.TraceDevice() != CPortNames::DeviceName(s_nTracePort))
        CPortNames::SetDevice(s_nTracePort, dlg.TraceDevice());
    return 1;
}

int CPortConfig::GetDataPort()
{
    return s_nDataPort;
}

int CPortConfig::GetTracePort()
{
    return s_nTracePort;
}
