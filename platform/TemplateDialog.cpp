#include "platform/TemplateDialog.h"

#include <QAccessible>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>

#include "platform/BarCtrl.h"
#include "platform/ImageButton.h"
#include "platform/TreeCtrl.h"

void CTemplateDialog::InitResources()
{
    // The pictures live in the core library's resources.
    static bool done = false;
    if (!done) {
        Q_INIT_RESOURCE(tessoly);
        done = true;
    }
}

namespace {
const char* const kIdProperty = "tessolyCtrlId";
}

CTemplateDialog::CTemplateDialog(int templateId, QWidget* parent)
    : QDialog(parent), m_tpl(GetDlgTemplate(templateId)),
      m_units(CDialogUnits::DialogFont(m_tpl.font, m_tpl.pointSize))
{
    InitResources();
    setFont(CDialogUnits::DialogFont(m_tpl.font, m_tpl.pointSize));
    setWindowTitle(QString::fromLatin1(m_tpl.caption));
    setFixedSize(m_units.X(m_tpl.cx), m_units.Y(m_tpl.cy));
    if (m_tpl.popup)
        setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    else if (m_tpl.style & DS_MINIMIZEBOX)
        setWindowFlags(windowFlags() | Qt::WindowMinimizeButtonHint);
}

CTemplateDialog::~CTemplateDialog() = default;

int CTemplateDialog::DoModal()
{
    if (!BuildControls())
        return -1;
    m_bModal = true;
    m_nResult = IDCANCEL;
    // The result of the initialisation does not matter here: a dialog that
    // ended itself during it has left m_bModal false.
    OnInitDialog();
    int r = m_nResult;
    if (m_bHasWindow && m_bModal) {
        exec();
        r = m_nResult;
    }
    m_bModal = false;
    DestroyWindow();
    return r;
}

bool CTemplateDialog::Create()
{
    if (m_bHasWindow)
        return true;
    if (!BuildControls())
        return false;
    m_bModal = false;
    OnInitDialog();
    if (m_bHasWindow)
        show();
    return true;
}

void CTemplateDialog::DestroyWindow()
{
    if (!m_bHasWindow)
        return;
    OnDestroy();
    m_bHasWindow = false;
    hide();
    for (QWidget* w : m_all)
        delete w;
    m_all.clear();
    m_items.clear();
}

void CTemplateDialog::EndDialog(int result)
{
    m_nResult = result;
    if (m_bModal && isVisible())
        done(result);
    else if (m_bModal)
        m_bModal = false; // ended before the loop started
}

bool CTemplateDialog::BuildControls()
{
    if (m_bHasWindow)
        return true;
    QButtonGroup* radioGroup = nullptr;
    for (const CtlTemplate& c : m_tpl.controls) {
        QWidget* w = BuildControl(c, radioGroup);
        if (!w)
            continue;
        m_all.push_back(w);
        if (c.id >= 0)
            m_items[c.id] = w;
    }
    m_bHasWindow = true;
    BindControls();
    // The standard buttons.
    if (auto* ok = qobject_cast<QAbstractButton*>(GetDlgItem(IDOK)))
        connect(ok, &QAbstractButton::clicked, this, [this] { OnOK(); });
    if (auto* cancel = qobject_cast<QAbstractButton*>(GetDlgItem(IDCANCEL)))
        connect(cancel, &QAbstractButton::clicked, this, [this] { OnCancel(); });
    return true;
}

QWidget* CTemplateDialog::BuildControl(const CtlTemplate& c, QButtonGroup*& radioGroup)
{
    const QString caption = QString::fromLatin1(c.caption ? c.caption : "");
    QWidget* w = nullptr;
    QString accName = c.accName ? QString::fromLatin1(c.accName) : QString();
    if (c.kind != CtlKind::Radio)
        radioGroup = nullptr;
    switch (c.kind) {
    case CtlKind::GroupBox: {
        auto* g = new QGroupBox(caption, this);
        w = g;
        break;
    }
    case CtlKind::PushButton: {
        auto* b = new QPushButton(caption, this);
        b->setAutoDefault(false);
        b->setDefault((c.style & CS_DEFAULT) != 0);
        w = b;
        break;
    }
    case CtlKind::ImageButton: {
        w = new CImageButton(caption, this);
        break;
    }
    case CtlKind::Edit: {
        if (c.style & CS_MULTILINE) {
            auto* e = new QPlainTextEdit(this);
            e->setReadOnly((c.style & CS_READONLY) != 0);
            e->setVerticalScrollBarPolicy((c.style & CS_VSCROLL) ? Qt::ScrollBarAsNeeded
                                                                 : Qt::ScrollBarAlwaysOff);
            e->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            w = e;
        } else {
            auto* e = new QLineEdit(this);
            e->setReadOnly((c.style & CS_READONLY) != 0);
            // Paints its own background: a new text repaints the edit alone,
            // not the group and form behind it.
            e->setAutoFillBackground(true);
            if (c.style & CS_NUMBER)
                e->setValidator(new QRegularExpressionValidator(
                    QRegularExpression(QStringLiteral("[0-9]*")), e));
            if (c.style & CS_RIGHT)
                e->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            else if (c.style & CS_CENTER)
                e->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
            e->setFrame((c.style & CS_NOBORDER) == 0);
            e->setTextMargins(0, 0, 0, 0);
            w = e;
        }
        break;
    }
    case CtlKind::ComboDropDown: {
        auto* cb = new QComboBox(this);
        cb->setEditable(true);
        cb->setInsertPolicy(QComboBox::NoInsert);
        if (!caption.isEmpty())
            cb->addItems(caption.split(QLatin1Char('|')));
        w = cb;
        break;
    }
    case CtlKind::ListBox: {
        auto* l = new QListWidget(this);
        // A list box scrolls when its entries need it, with or without the style.
        l->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        l->setUniformItemSizes(true);
        w = l;
        break;
    }
    case CtlKind::Progress: {
        auto* p = new CBarCtrl(this);
        p->setRange(0, 100);
        w = p;
        break;
    }
    case CtlKind::CheckBox: {
        auto* cb = new QCheckBox(caption, this);
        if (c.style & CS_LEFTTEXT)
            cb->setLayoutDirection(Qt::RightToLeft);
        w = cb;
        break;
    }
    case CtlKind::Radio: {
        auto* r = new QRadioButton(caption, this);
        r->setAutoExclusive(false);
        if ((c.style & CS_GROUP) || !radioGroup) {
            radioGroup = new QButtonGroup(this);
            radioGroup->setExclusive(false);
        }
        radioGroup->addButton(r);
        w = r;
        break;
    }
    case CtlKind::Label: {
        auto* l = new QLabel(caption, this);
        if (c.style & CS_CENTER)
            l->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        else if (c.style & CS_RIGHT)
            l->setAlignment(Qt::AlignRight | Qt::AlignTop);
        else
            l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        w = l;
        break;
    }
    case CtlKind::Picture: {
        auto* l = new QLabel(this);
        QPixmap pm(QStringLiteral(":/images/") + caption);
        if (!pm.isNull())
            l->setPixmap(pm);
        l->setAlignment(Qt::AlignCenter);
        w = l;
        if (accName.isEmpty())
            accName = caption;
        break;
    }
    case CtlKind::TreeView: {
        auto* t = new CTreeCtrl(this);
        t->SetStyles(c.style & CS_HASBUTTONS, c.style & CS_HASLINES, c.style & CS_LINESATROOT);
        w = t;
        break;
    }
    case CtlKind::Frame: {
        auto* f = new QFrame(this);
        f->setFrameStyle(QFrame::Box | QFrame::Sunken);
        w = f;
        break;
    }
    }
    if (!w)
        return nullptr;
    QRect r = m_units.Rect(c.x, c.y, c.cx, c.cy);
    if (c.kind == CtlKind::ComboDropDown) {
        // The template's height is the dropped-down height.
        r.setHeight(qMin(r.height(), w->sizeHint().height()));
    }
    w->setGeometry(r);
    w->setProperty(kIdProperty, c.id);
    if (c.id >= 0)
        w->setObjectName(QStringLiteral("id%1").arg(c.id));
    if (c.style & CS_DISABLED)
        w->setEnabled(false);
    if (c.style & CS_HIDDEN)
        w->setVisible(false);
    else
        w->show();
    w->setAccessibleName(accName.isEmpty() ? QString(caption).remove(QLatin1Char('&')) : accName);
    if (c.id >= 0)
        w->setAccessibleDescription(QString::number(c.id));
    return w;
}

QWidget* CTemplateDialog::GetDlgItem(int id) const
{
    auto it = m_items.find(id);
    return it == m_items.end() ? nullptr : it->second;
}

int CTemplateDialog::CtrlId(const QWidget* w)
{
    if (!w)
        return -1;
    const QVariant v = w->property(kIdProperty);
    return v.isValid() ? v.toInt() : -1;
}

QRect CTemplateDialog::TemplateRect(int id) const
{
    for (const CtlTemplate& c : m_tpl.controls)
        if (c.id == id)
            return m_units.Rect(c.x, c.y, c.cx, c.cy);
    return QRect();
}

void CTemplateDialog::SetDlgItemText(int id, const QString& text)
{
    QWidget* w = GetDlgItem(id);
    if (auto* e = qobject_cast<QLineEdit*>(w)) {
        if (e->text() != text)
            e->setText(text);
    } else if (auto* pe = qobject_cast<QPlainTextEdit*>(w)) {
        pe->setPlainText(text);
    } else if (auto* b = qobject_cast<QAbstractButton*>(w)) {
        b->setText(text);
    } else if (auto* l = qobject_cast<QLabel*>(w)) {
        l->setText(text);
    } else if (auto* cb = qobject_cast<QComboBox*>(w)) {
        cb->setEditText(text);
    } else if (auto* g = qobject_cast<QGroupBox*>(w)) {
        g->setTitle(text);
    }
}

QString CTemplateDialog::GetDlgItemText(int id) const
{
    QWidget* w = GetDlgItem(id);
    if (auto* e = qobject_cast<QLineEdit*>(w))
        return e->text();
    if (auto* pe = qobject_cast<QPlainTextEdit*>(w))
        return pe->toPlainText();
    if (auto* b = qobject_cast<QAbstractButton*>(w))
        return b->text();
    if (auto* l = qobject_cast<QLabel*>(w))
        return l->text();
    if (auto* cb = qobject_cast<QComboBox*>(w))
        return cb->currentText();
    if (auto* g = qobject_cast<QGroupBox*>(w))
        return g->title();
    return QString();
}

int CTemplateDialog::GetDlgItemInt(int id) const
{
    return TextToInt(GetDlgItemText(id));
}

int CTemplateDialog::TextToInt(const QString& text)
{
    const QString t = text.trimmed();
    int i = 0;
    bool neg = false;
    if (i < t.size() && (t[i] == QLatin1Char('-') || t[i] == QLatin1Char('+')))
        neg = t[i++] == QLatin1Char('-');
    long long v = 0;
    while (i < t.size() && t[i] >= QLatin1Char('0') && t[i] <= QLatin1Char('9') &&
           v < 100000000000LL)
        v = v * 10 + (t[i++].unicode() - '0');
    return static_cast<int>(neg ? -v : v);
}

void CTemplateDialog::CheckDlgButton(int id, bool checked)
{
    if (auto* b = qobject_cast<QAbstractButton*>(GetDlgItem(id)))
        b->setChecked(checked);
}

bool CTemplateDialog::IsDlgButtonChecked(int id) const
{
    auto* b = qobject_cast<QAbstractButton*>(GetDlgItem(id));
    return b && b->isChecked();
}

void CTemplateDialog::EnableDlgItem(int id, bool enable)
{
    if (QWidget* w = GetDlgItem(id))
        w->setEnabled(enable);
}

bool CTemplateDialog::IsDlgItemEnabled(int id) const
{
    QWidget* w = GetDlgItem(id);
    return w && w->isEnabled();
}

void CTemplateDialog::GotoDlgCtrl(int id)
{
    if (QWidget* w = GetDlgItem(id))
        w->setFocus(Qt::OtherFocusReason);
}

void CTemplateDialog::OnEnterKey()
{
    for (const CtlTemplate& c : m_tpl.controls) {
        if ((c.style & CS_DEFAULT) && c.kind == CtlKind::PushButton) {
            if (auto* b = qobject_cast<QAbstractButton*>(GetDlgItem(c.id)))
                if (b->isEnabled())
                    b->click();
            return;
        }
    }
}

void CTemplateDialog::keyPressEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        if (!e->modifiers() || (e->modifiers() & Qt::KeypadModifier)) {
            OnEnterKey();
            e->accept();
            return;
        }
    }
    if (e->key() == Qt::Key_Escape) {
        OnCancel();
        e->accept();
        return;
    }
    QDialog::keyPressEvent(e);
}

void CTemplateDialog::closeEvent(QCloseEvent* e)
{
    e->ignore();
    OnClose();
}

void CTemplateDialog::reject()
{
    OnCancel();
}

void CTemplateDialog::accept()
{
    OnOK();
}
