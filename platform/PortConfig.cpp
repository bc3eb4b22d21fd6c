// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/PortConfig.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/PortList.h"
#include "platform/PortNames.h"

namespace {
int s_nDataPort = 1;
int s_nTracePort = 2;
const int kDeviceChars = 56;

// A device is picked from the list or typed.
QComboBox* DeviceBox(QWidget* parent, const QString& name)
{
    auto* box = new QComboBox(parent);
    box->setEditable(true);
    // Stable names are long: the field keeps a sensible width, the list shows them whole.
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    box->setMinimumContentsLength(kDeviceChars);
    box->setAccessibleName(name);
    // A picked entry shows from the start of its path.
    QObject::connect(box, &QComboBox::currentIndexChanged, box,
                     [box] { box->lineEdit()->setCursorPosition(0); });
    return box;
}
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
    m_pDataDevice = DeviceBox(this, QStringLiteral("Data port device"));
    m_pTraceNumber = new QSpinBox(this);
    m_pTraceNumber->setRange(0, 256);
    m_pTraceNumber->setValue(tracePort);
    m_pTraceNumber->setAccessibleName(QStringLiteral("Trace port number"));
    m_pTraceDevice = DeviceBox(this, QStringLiteral("Trace port device"));
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
    const QList<SSerialDevice> devices = CPortList::Devices();
    // The device now on the number comes first, then the others in their order.
    auto add = [box](const SSerialDevice& d) {
        box->addItem(d.strDescription.isEmpty()
                         ? d.strPath
                         : QStringLiteral("%1  (%2)").arg(d.strPath, d.strDescription),
                     d.strPath);
    };
    auto it = std::find_if(devices.begin(), devices.end(),
                           [&current](const SSerialDevice& d) { return d.strPath == current; });
    add(it != devices.end() ? *it : SSerialDevice{current, QString()});
    for (const SSerialDevice& d : devices) {
        if (d.strPath != current)
            add(d);
    }
    box->setCurrentIndex(0);
    box->view()->setMinimumWidth(box->view()->sizeHintForColumn(0) + 24);
}

QString CPortConfig::ChosenDevice(const QComboBox* box)
{
    // A listed entry stands for its path; anything else is a typed path.
    const int i = box->findText(box->currentText());
    return i >= 0 ? box->itemData(i).toString() : box->currentText().trimmed();
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
    return ChosenDevice(m_pDataDevice);
}
QString CPortConfig::TraceDevice() const
{
    return ChosenDevice(m_pTraceDevice);
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
