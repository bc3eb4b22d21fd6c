// SPDX-License-Identifier: GPL-3.0-or-later
#include "scan/ChannelScanDlg.h"

#include <QEvent>
#include <QFocusEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <iterator>

#include "control/TessolyDlg.h"
#include "measure/Units.h"
#include "platform/UiServices.h"
#include "protocol/AtCommands.h"
#include "protocol/TraceCommands.h"
#include "res/TemplateIds.h"
#include "scan/ScanGraph.h"

static_assert(std::size(g_anScanRangeIds) == SCAN_RANGE_FIELDS, "one id per range field");

CChannelScanDlg::CChannelScanDlg(CTessolyDlg* pController)
    : CTemplateDialog(IDD_SCAN, pController), m_pController(pController)
{
    // Caption and frame, but no close box.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
}

CChannelScanDlg::~CChannelScanDlg()
{
    // A window still open ends the scan as a close would.
    if (HasWindow())
        DestroyWindow();
}

// ---------------------------------------------------------------------------
// Creation and destruction

void CChannelScanDlg::BindControls()
{
    for (int n = 0; n < SCAN_RANGE_FIELDS; ++n) {
        m_apRangeEdit[n] = Item<QLineEdit>(g_anScanRangeIds[n]);
        if (m_apRangeEdit[n])
            m_apRangeEdit[n]->installEventFilter(this);
    }
    m_btnSelect = Item<QPushButton>(IDC_SCAN_SELECT);
    m_btnPrev = Item<QPushButton>(IDC_SCAN_PREV);
    m_btnGo = Item<QPushButton>(IDOK);
    m_btnNext = Item<QPushButton>(IDC_SCAN_NEXT);
    m_edtLevel = Item<QLineEdit>(IDC_SCAN_LEVEL);
    m_edtChannel = Item<QLineEdit>(IDC_SCAN_CHANNEL);

    if (m_btnSelect)
        connect(m_btnSelect, &QPushButton::clicked, this, [this] { OnSelect(); });
    if (auto* b = Item<QPushButton>(IDC_SCAN_DELETE))
        connect(b, &QPushButton::clicked, this, [this] { OnDelete(); });
    if (auto* b = Item<QPushButton>(IDC_SCAN_ALL))
        connect(b, &QPushButton::clicked, this, [this] { OnAll(); });
    if (m_btnPrev)
        connect(m_btnPrev, &QPushButton::clicked, this, [this] { OnPrev(); });
    if (m_btnNext)
        connect(m_btnNext, &QPushButton::clicked, this, [this] { OnNext(); });

    // The graph's drawing surface covers the whole graph frame.
    m_pGraphWnd = GetDlgItem(IDC_SCAN_GRAPH);
    if (m_pGraphWnd) {
        m_pGraph = new CScanGraph(m_model, m_layout, m_pGraphWnd);
        m_pGraph->setGeometry(m_pGraphWnd->rect());
        m_pGraph->show();
        connect(m_pGraph, &CScanGraph::Hovered, this, &CChannelScanDlg::OnHovered);
        connect(m_pGraph, &CScanGraph::Clicked, this, &CChannelScanDlg::OnClicked);
        connect(m_pGraph, &CScanGraph::Dragged, this, &CChannelScanDlg::NarrowRanges);
    }
    setMouseTracking(true);
    m_bDestroying = false;
}

bool CChannelScanDlg::OnInitDialog()
{
    CTemplateDialog::OnInitDialog();
    if (m_pController) {
        m_pController->SendTrace(TRACE_SCAN_SETUP);
        if (!m_pController->IsPoweredOn())
            EnableDlgItem(IDC_SCAN_SELECT, false);
    }

    TakeGraphGeometry();
    ResetDisplay();

    m_model = CScanModel();
    m_pReport = m_pController ? &m_pController->TraceReport() : nullptr;
    if (m_pController)
        m_pController->AttachScan([this](bool bAny) { OnLevelsPublished(bAny); });
    return true;
}

void CChannelScanDlg::OnDestroy()
{
    m_bDestroying = true;
    for (auto& e : m_apRangeEdit)
        if (e)
            e->removeEventFilter(this);
    // The graph's surface goes with the frame; nothing draws into it any more.
    if (m_pGraph)
        m_pGraph->Release();
    m_pGraph = nullptr;
    if (m_pController) {
        m_pController->ResetScanLevels();
        m_pController->DetachScan();
        if (m_model.m_nSelected != 0) {
            m_pController->LockChannel(m_edtChannel ? m_edtChannel->text() : QString());
            m_pController->SendTraceFlags();
        }
        // The module returns to automatic network selection.
        m_pController->SendData(AT_SELECT_OPERATOR_AUTO);
    }
}

void CChannelScanDlg::TakeGraphGeometry()
{
    m_layout.SetSize(m_pGraph ? m_pGraph->size() : QSize());
}

void CChannelScanDlg::SetGraphSize(int cx, int cy)
{
    if (!m_pGraph || !m_pGraphWnd)
        return;
    cx = qMax(cx, 0);
    cy = qMax(cy, 0);
    m_pGraphWnd->resize(cx, cy);
    m_pGraph->setGeometry(0, 0, cx, cy);
    const QRect frame = m_pGraphWnd->geometry();
    if (frame.right() >= width() || frame.bottom() >= height())
        setFixedSize(qMax(width(), frame.right() + 8), qMax(height(), frame.bottom() + 8));
    TakeGraphGeometry();
    ArrangeGraph();
}

// ---------------------------------------------------------------------------
// Range fields

QLineEdit* CChannelScanDlg::RangeEdit(int n) const
{
    return n >= 0 && n < SCAN_RANGE_FIELDS ? m_apRangeEdit[n].data() : nullptr;
}

int CChannelScanDlg::RangeIndex(const QObject* watched) const
{
    for (int n = 0; n < SCAN_RANGE_FIELDS; ++n)
        if (m_apRangeEdit[n] && m_apRangeEdit[n] == watched)
            return n;
    return -1;
}

bool CChannelScanDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (!m_bDestroying && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)) {
        const int n = RangeIndex(watched);
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        // Only moves within the dialog count, not the window being
        // (de)activated or a pop-up menu.
        if (n >= 0 && reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            if (event->type() == QEvent::FocusIn) {
                if (!m_bApplyingFocus)
                    m_nAutoFocusMoves = 0; // the user moved the focus
                OnRangeFocus(n);
            } else if (!m_bSkipValidate)
                ValidateRange(n);
        }
    }
    return CTemplateDialog::eventFilter(watched, event);
}

void CChannelScanDlg::QueueFocus(int n, bool bPutBack)
{
    // A field that must keep the focus wins over a walk back.
    if (m_nPendingFocus >= 0 && m_bPendingPutBack && !bPutBack)
        return;
    m_nPendingFocus = n;
    m_bPendingPutBack = bPutBack;
    if (!m_bFocusQueued) {
        m_bFocusQueued = true;
        QTimer::singleShot(0, this, &CChannelScanDlg::ApplyFocus);
    }
}

void CChannelScanDlg::ApplyFocus()
{
    m_bFocusQueued = false;
    const int n = m_nPendingFocus;
    const bool bPutBack = m_bPendingPutBack;
    m_nPendingFocus = -1;
    m_bPendingPutBack = false;
    QLineEdit* e = RangeEdit(n);
    if (m_bDestroying || !HasWindow() || !e || e->hasFocus())
        return;
    // Fields whose rules send the focus to each other (an empty field before
    // an emptied one) would do so for ever; a walk needs at most nine moves.
    if (++m_nAutoFocusMoves > 2 * SCAN_RANGE_FIELDS)
        return;
    // A field put back keeps the focus as if it had never left: the control
    // that took it meanwhile is not validated.
    m_bSkipValidate = bPutBack;
    m_bApplyingFocus = true;
    e->setFocus(Qt::OtherFocusReason);
    m_bApplyingFocus = false;
    m_bSkipValidate = false;
}

int CChannelScanDlg::FieldValue(int n) const
{
    const QLineEdit* e = RangeEdit(n);
    if (!e)
        return 0;
    const QString t = e->text().trimmed();
    long long v = 0;
    for (QChar ch : t) {
        if (!ch.isDigit())
            break;
        v = v * 10 + (ch.unicode() - '0');
        if (v > 1000000)
            v = 1000000; // far above the plan; corrected to its end
    }
    return static_cast<int>(v);
}

void CChannelScanDlg::ShowRanges()
{
    for (int n = 0; n < SCAN_RANGE_FIELDS; ++n)
        SetChannelText(m_model.m_anRange[n], RangeEdit(n));
}

bool CChannelScanDlg::SetChannelText(int n, QLineEdit* pField)
{
    if (!pField)
        return false;
    const QString text = n != 0 ? QString::number(n) : QString();
    if (pField->text() != text)
        pField->setText(text);
    return !pField->text().isEmpty();
}

void CChannelScanDlg::OnRangeFocus(int n)
{
    if (n < 1 || n >= SCAN_RANGE_FIELDS)
        return;
    if (m_model.m_anRange[n - 1] == 0)
        QueueFocus(n - 1, false);
}

bool CChannelScanDlg::ValidateRange(int n)
{
    QLineEdit* e = RangeEdit(n);
    if (n < 0 || n >= SCAN_RANGE_FIELDS || !e)
        return true;
    if (e->text().isEmpty()) {
        m_model.m_anRange[n] = 0;
        if (n < SCAN_RANGE_FIELDS - 1 && m_model.m_anRange[n + 1] != 0)
            QueueFocus(n, true);
        CUiServices::Beep();
        return true;
    }
    const int typed = FieldValue(n);
    const int v = m_model.Corrected(n, typed);
    // Corrections that cancel out (125 after 124 is corrected to 124 and
    // back; 511 before 512 to 512 and back) leave the value unchanged: it is
    // accepted, or the field could never be left.
    const bool ok = v == typed;
    m_model.m_anRange[n] = v;
    if (!ok) {
        SetChannelText(v, e);
        QueueFocus(n, true);
        CUiServices::Beep();
    }
    return ok;
}

void CChannelScanDlg::OnAll()
{
    OnDelete();
    m_model.SetWholePlan();
    ShowRanges();
}

void CChannelScanDlg::OnDelete()
{
    m_model.ClearRanges();
    ShowRanges();
    m_model.m_nSelected = 0;
    SetChannelText(0, m_edtChannel);
    if (m_btnNext)
        m_btnNext->setEnabled(false);
    ResetDisplay();
}

QString CChannelScanDlg::ScanList() const
{
    QStringList texts;
    for (int n = 0; n < SCAN_RANGE_FIELDS; ++n)
        texts << (RangeEdit(n) ? RangeEdit(n)->text() : QString());
    return m_model.ScanList(texts);
}

void CChannelScanDlg::OnSelect()
{
    const QString list = ScanList();
    if (!list.isEmpty() && m_pController && m_pController->IsPoweredOn()) {
        m_model.Request();
        ResetDisplay();
        m_model.m_bScanRequested = true;
        ArrangeGraph();
        if (m_pGraph)
            m_pGraph->DrawWaitingText();
        ResetScanLevels();
        const QByteArray text = list.toLatin1();
        m_pController->SendTrace(TRACE_SCAN);
        m_pController->SendTrace(TRACE_CR);
        m_pController->SendTrace(TRACE_CR);
        m_pController->SendTrace(text.constData(), TRACE_CR);
    } else {
        CUiServices::Beep();
    }
    if (m_pGraph)
        m_pGraph->CancelDrag();
}

void CChannelScanDlg::NarrowRanges(int a, int b)
{
    m_model.Narrow(a, b);
    ShowRanges();
    OnSelect();
}

void CChannelScanDlg::SendScanEnd()
{
    // The module stops scanning.
    if (m_pController) {
        m_pController->SendTrace(TRACE_SCAN);
        m_pController->SendTrace(TRACE_SCAN_STOP);
        m_pController->SendTrace(TRACE_CR);
        m_pController->SendTrace(TRACE_SCAN_STOP_CONFIRM, TRACE_CR);
    }
}

void CChannelScanDlg::ResetScanLevels()
{
    if (m_pController)
        m_pController->ResetScanLevels();
    // The graph forgets the levels' bars at once.
    ArrangeGraph();
}

void CChannelScanDlg::OnGo()
{
    if (m_model.m_nSelected != 0)
        ResetScanLevels();
    SendScanEnd();
    EndDialog(IDOK);
}

void CChannelScanDlg::OnCancel()
{
    m_model.m_nSelected = 0;
    ResetScanLevels();
    SendScanEnd();
    ResetDisplay();
    EndDialog(IDCANCEL);
    if (m_pController)
        m_pController->SendTraceFlags();
}

// ---------------------------------------------------------------------------
// Graph

int CChannelScanDlg::Level(int nChannel) const
{
    return m_pReport ? m_pReport->GetScanLevel(nChannel) : -1;
}

void CChannelScanDlg::RepaintGraph()
{
    if (m_pGraph)
        m_pGraph->RepaintGraph();
}

void CChannelScanDlg::ResetDisplay()
{
    m_layout.ClearBars();
    if (m_pGraph)
        m_pGraph->ForgetDrag();
    SetChannelText(0, m_edtLevel);
    SetChannelText(0, m_edtChannel);
    for (QPushButton* b : {m_btnGo.data(), m_btnNext.data(), m_btnPrev.data()})
        if (b)
            b->setEnabled(false);
    m_model.m_bScanRequested = false;
    RepaintGraph();
}

void CChannelScanDlg::ArrangeGraph()
{
    if (m_bDestroying || !m_model.m_bScanRequested)
        return;
    if (m_btnGo)
        m_btnGo->setEnabled(true);
    m_layout.Arrange(m_model.m_anActive, [this](int c) { return Level(c); });
    ShowLevel(m_model.m_nShown);
    if (m_btnNext)
        m_btnNext->setEnabled(m_model.m_nSelected != m_layout.LastEnd());
    if (m_btnPrev)
        m_btnPrev->setEnabled(m_model.m_nSelected != m_model.m_anActive[0]);
}

void CChannelScanDlg::OnLevelsPublished(bool bAnyLevel)
{
    ArrangeGraph();
    if (bAnyLevel)
        repaint();
}

void CChannelScanDlg::ShowLevel(int nChannel)
{
    const int level = Level(nChannel);
    if (level == -1)
        return;
    SetChannelText(nChannel, m_edtChannel);
    if (m_edtLevel)
        m_edtLevel->setText(QString::asprintf("%d = %d dBm", level, Units::RxLevDbm(level)));
}

void CChannelScanDlg::OnHovered(int nChannel)
{
    m_model.m_nShown = nChannel != 0 ? nChannel : m_model.m_nSelected;
    ShowLevel(m_model.m_nShown);
}

void CChannelScanDlg::OnClicked(int nChannel)
{
    m_model.m_nSelected = nChannel;
    ArrangeGraph();
    RepaintGraph();
}

void CChannelScanDlg::OnPrev()
{
    if (!m_model.SelectPrevious())
        return;
    ArrangeGraph();
    RepaintGraph();
}

void CChannelScanDlg::OnNext()
{
    if (!m_model.SelectNext())
        return;
    ArrangeGraph();
    RepaintGraph();
}

// The dialog's own surface: pointer positions are passed on in graph pixels.
void CChannelScanDlg::PassMouse(QMouseEvent* e)
{
    if (m_pGraph)
        m_pGraph->HandleMouse(e, m_pGraph->mapFrom(this, e->position().toPoint()));
}

void CChannelScanDlg::mouseMoveEvent(QMouseEvent* e)
{
    PassMouse(e);
}

void CChannelScanDlg::mousePressEvent(QMouseEvent* e)
{
    PassMouse(e);
}

void CChannelScanDlg::mouseDoubleClickEvent(QMouseEvent* e)
{
    PassMouse(e);
}

void CChannelScanDlg::mouseReleaseEvent(QMouseEvent* e)
{
    PassMouse(e);
}
