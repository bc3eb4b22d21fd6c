// SPDX-License-Identifier: GPL-3.0-or-later
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
#include <QListView>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>

#include "platform/BarCtrl.h"
#include "platform/FieldEdit.h"
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
    qDeleteAll(m_all);
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

namespace {
// The widgets of the control kinds, each created as a child of the form.
QWidget* NewPushButton(const CtlTemplate& c, const QString& caption, QWidget* form)
{
    auto* b = new QPushButton(caption, form);
    b->setAutoDefault(false);
    b->setDefault((c.style & CS_DEFAULT) != 0);
    return b;
}

QWidget* NewMultiLineEdit(const CtlTemplate& c, QWidget* form)
{
    auto* e = new QPlainTextEdit(form);
    e->setReadOnly((c.style & CS_READONLY) != 0);
    e->setVerticalScrollBarPolicy((c.style & CS_VSCROLL) ? Qt::ScrollBarAsNeeded
                                                         : Qt::ScrollBarAlwaysOff);
    e->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    return e;
}

QWidget* NewLineEdit(const CtlTemplate& c, QWidget* form)
{
    auto* e = new CFieldEdit(form);
    e->setReadOnly((c.style & CS_READONLY) != 0);
    // Paints its own background: a new text repaints the edit alone,
    // not the group and form behind it.
    e->setAutoFillBackground(true);
    if (c.style & CS_NUMBER)
        e->setValidator(
            new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), e));
    if (c.style & CS_RIGHT)
        e->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    else if (c.style & CS_CENTER)
        e->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    e->setFrame((c.style & CS_NOBORDER) == 0);
    e->setTextMargins(0, 0, 0, 0);
    return e;
}

QWidget* NewEdit(const CtlTemplate& c, QWidget* form)
{
    return (c.style & CS_MULTILINE) ? NewMultiLineEdit(c, form) : NewLineEdit(c, form);
}

QWidget* NewComboDropDown(const QString& caption, QWidget* form)
{
    auto* cb = new QComboBox(form);
    cb->setEditable(true);
    cb->setInsertPolicy(QComboBox::NoInsert);
    if (!caption.isEmpty())
        cb->addItems(caption.split(QLatin1Char('|')));
    return cb;
}

QWidget* NewList(QListView* l)
{
    // A list box scrolls when its entries need it, with or without the style.
    l->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    l->setUniformItemSizes(true);
    return l;
}

QWidget* NewProgress(QWidget* form)
{
    auto* p = new CBarCtrl(form);
    p->setRange(0, 100);
    return p;
}

QWidget* NewCheckBox(const CtlTemplate& c, const QString& caption, QWidget* form)
{
    auto* cb = new QCheckBox(caption, form);
    if (c.style & CS_LEFTTEXT)
        cb->setLayoutDirection(Qt::RightToLeft);
    return cb;
}

// A radio button joins the group of the radio buttons before it; a new group
// starts at the first one of a run and at one with the group style.
QWidget* NewRadio(const CtlTemplate& c, const QString& caption, QWidget* form,
                  QButtonGroup*& radioGroup)
{
    auto* r = new QRadioButton(caption, form);
    r->setAutoExclusive(false);
    if ((c.style & CS_GROUP) || !radioGroup) {
        radioGroup = new QButtonGroup(form);
        radioGroup->setExclusive(false);
    }
    radioGroup->addButton(r);
    return r;
}

QWidget* NewLabel(const CtlTemplate& c, const QString& caption, QWidget* form)
{
    auto* l = new QLabel(caption, form);
    if (c.style & CS_CENTER)
        l->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    else if (c.style & CS_RIGHT)
        l->setAlignment(Qt::AlignRight | Qt::AlignTop);
    else
        l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return l;
}

QWidget* NewPicture(const QString& caption, QWidget* form)
{
    auto* l = new QLabel(form);
    QPixmap pm(QStringLiteral(":/images/") + caption);
    if (!pm.isNull())
        l->setPixmap(pm);
    l->setAlignment(Qt::AlignCenter);
    return l;
}

QWidget* NewTreeView(const CtlTemplate& c, QWidget* form)
{
    auto* t = new CTreeCtrl(form);
    t->SetStyles(c.style & CS_HASBUTTONS, c.style & CS_HASLINES, c.style & CS_LINESATROOT);
    return t;
}

QWidget* NewFrame(QWidget* form)
{
    auto* f = new QFrame(form);
    f->setFrameStyle(QFrame::Box | QFrame::Sunken);
    return f;
}

// The widget of one control; null for a kind that has none.
QWidget* NewControl(const CtlTemplate& c, const QString& caption, QWidget* form,
                    QButtonGroup*& radioGroup)
{
    switch (c.kind) {
    case CtlKind::GroupBox:
        return new QGroupBox(caption, form);
    case CtlKind::PushButton:
        return NewPushButton(c, caption, form);
    case CtlKind::ImageButton:
        return new CImageButton(caption, form);
    case CtlKind::Edit:
        return NewEdit(c, form);
    case CtlKind::ComboDropDown:
        return NewComboDropDown(caption, form);
    case CtlKind::ListBox:
        return NewList(new QListWidget(form));
    case CtlKind::ListView:
        return NewList(new QListView(form));
    case CtlKind::Progress:
        return NewProgress(form);
    case CtlKind::CheckBox:
        return NewCheckBox(c, caption, form);
    case CtlKind::Radio:
        return NewRadio(c, caption, form, radioGroup);
    case CtlKind::Label:
        return NewLabel(c, caption, form);
    case CtlKind::Picture:
        return NewPicture(caption, form);
    case CtlKind::TreeView:
        return NewTreeView(c, form);
    case CtlKind::Frame:
        return NewFrame(form);
    }
    return nullptr;
}
} // namespace

QWidget* CTemplateDialog::BuildControl(const CtlTemplate& c, QButtonGroup*& radioGroup)
{
    const QString caption = QString::fromLatin1(c.caption ? c.caption : "");
    QString accName = c.accName ? QString::fromLatin1(c.accName) : QString();
    if (c.kind != CtlKind::Radio)
        radioGroup = nullptr;
    QWidget* w = NewControl(c, caption, this, radioGroup);
    if (!w)
        return nullptr;
    // A picture without a name of its own is named after its image.
    if (c.kind == CtlKind::Picture && accName.isEmpty())
        accName = caption;
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
