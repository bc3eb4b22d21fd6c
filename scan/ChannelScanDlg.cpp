#include "scan/ChannelScanDlg.h"

#include <QEvent>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QTimer>

#include "control/TessolyDlg.h"
#include "platform/UiServices.h"
#include "scan/ScanGraph.h"

namespace {
// The scan set-up command; the backslashes are characters of the command.
const char kScanSetup[] = "*6+FT+Q\\8\\66QF";
const char kWaiting[] = "Channels to scan selected, waiting for data...";
const int kWaitingX = 450;
const int kWaitingY = 50;
const int kLastChannel = 885;

bool IsDragState(const QMouseEvent* e)
{
    return e->buttons() != Qt::NoButton ||
           (e->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier));
}

// Texts are placed by one point: their left, right or centre at x, their top at y.
void TextAt(QPainter& dc, int x, int y, const QString& text, Qt::Alignment align)
{
    const qreal span = 4000;
    QRectF rc;
    if (align & Qt::AlignRight)
        rc = QRectF(x - span, y, span, span);
    else if (align & Qt::AlignHCenter)
        rc = QRectF(x - span / 2, y, span, span);
    else
        rc = QRectF(x, y, span, span);
    const QPen pen = dc.pen();
    dc.setPen(Qt::black); // text colour, whatever pen draws the lines
    dc.drawText(rc, int(align | Qt::AlignTop | Qt::TextSingleLine), text);
    dc.setPen(pen);
}

// A product with the scale, truncated toward zero (the float scale times
// the integer, computed without rounding it to single precision first).
int Scaled(int v, float fScale)
{
    return static_cast<int>(static_cast<double>(v) * static_cast<double>(fScale));
}
} // namespace

const int CChannelScanDlg::s_anRangeIds[SCAN_RANGE_FIELDS] = {1050, 1043, 1052, 1139, 1054,
                                                              1141, 1062, 1060, 1065, 1061};

CChannelScanDlg::CChannelScanDlg(CTessolyDlg* pController)
    : CTemplateDialog(103, pController), m_pController(pController)
{
    // Caption and frame, but no close box.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    for (int& x : m_anBarX)
        x = -1;
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
        m_apRangeEdit[n] = Item<QLineEdit>(s_anRangeIds[n]);
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
        m_pGraph = new CScanGraph(this, m_pGraphWnd);
        m_pGraph->setGeometry(m_pGraphWnd->rect());
        m_pGraph->show();
    }
    setMouseTracking(true);
    m_bDestroying = false;
}

bool CChannelScanDlg::OnInitDialog()
{
    CTemplateDialog::OnInitDialog();
    if (m_pController) {
        m_pController->SendTrace(kScanSetup);
        if (!m_pController->m_bPoweredOn)
            EnableDlgItem(IDC_SCAN_SELECT, false);
    }

    m_font = QFont(QStringLiteral("MS Sans Serif"));
    m_font.setStyleHint(QFont::SansSerif);
    m_font.setPixelSize(10);
    m_crSelected = QColor(0, 150, 70);
    m_crBar = QColor(180, 53, 0);
    m_crGrey = QColor(120, 120, 120);
    m_crAmber = QColor(205, 145, 0);
    m_penAxis = QPen(Qt::black, 2, Qt::SolidLine, Qt::FlatCap);
    m_penGrid = QPen(m_crGrey, 1, Qt::SolidLine, Qt::FlatCap);
    m_penSelection = QPen(m_crAmber, 2, Qt::SolidLine, Qt::FlatCap);

    TakeGraphGeometry();
    ResetDisplay();

    m_nSelected = 0;
    m_bScanRequested = false;
    m_pReport = m_pController ? &m_pController->m_TraceReport : nullptr;
    if (m_pReport)
        m_pReport->AttachScanWindow(this);
    for (int& v : m_anRange)
        v = 0;
    for (int& v : m_anActive)
        v = 0;
    m_nShown = 0;
    return true;
}

void CChannelScanDlg::OnDestroy()
{
    m_bDestroying = true;
    for (auto& e : m_apRangeEdit)
        if (e)
            e->removeEventFilter(this);
    // The graph's surface goes with the frame; nothing draws into it any more.
    m_pGraph = nullptr;
    if (m_pReport) {
        m_pReport->ResetScanLevels();
        m_pReport->DetachScanWindow();
    }
    if (m_pController) {
        if (m_nSelected != 0) {
            m_pController->LockChannel(m_edtChannel ? m_edtChannel->text() : QString());
            m_pController->SendTraceFlags();
        }
        // The module returns to automatic network selection.
        m_pController->SendData("AT+COPS=0");
    }
}

void CChannelScanDlg::TakeGraphGeometry()
{
    m_rcClient = m_pGraph ? m_pGraph->rect() : QRect();
    const int W = m_rcClient.width();
    const int H = m_rcClient.height();
    m_rcGraph = QRect(QPoint(30, 30), QPoint(W - 15, H - 20));
    m_fScale = static_cast<float>(H - 40) / 63.0f;
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

void CChannelScanDlg::SetField(int n, int v)
{
    m_anRange[n] = v;
    SetChannelText(v, RangeEdit(n));
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
    if (m_anRange[n - 1] == 0)
        QueueFocus(n - 1, false);
}

bool CChannelScanDlg::ValidateRange(int n)
{
    QLineEdit* e = RangeEdit(n);
    if (n < 0 || n >= SCAN_RANGE_FIELDS || !e)
        return true;
    if (e->text().isEmpty()) {
        m_anRange[n] = 0;
        if (n < 9 && m_anRange[n + 1] != 0)
            QueueFocus(n, true);
        CUiServices::Beep();
        return true;
    }
    const int typed = FieldValue(n);
    int v = typed;
    bool ok = true;
    // The channel plan.
    if (v < 1) {
        v = 1;
        ok = false;
    } else if (v > kLastChannel) {
        v = kLastChannel;
        ok = false;
    } else if (v >= 125 && v <= 193) {
        v = 124;
        ok = false;
    } else if (v >= 194 && v <= 511) {
        v = 512;
        ok = false;
    }
    const bool bEnd = (n % 2) == 1;
    // Order with the field before.
    if (n >= 1) {
        const int p = m_anRange[n - 1];
        if (bEnd && v < p) {
            v = p;
            ok = false;
        } else if (!bEnd && v <= p) {
            v = p == kLastChannel ? 0 : p + 1;
            ok = false;
        }
    }
    // Order with the field after.
    if (n <= 8 && m_anRange[n + 1] != 0) {
        const int q = m_anRange[n + 1];
        if (!bEnd && v > q) {
            v = q;
            ok = false;
        } else if (bEnd && v >= q) {
            v = q - 1;
            ok = false;
        }
    }
    // Corrections that cancel out (125 after 124 is corrected to 124 and
    // back; 511 before 512 to 512 and back) leave the value unchanged: it is
    // accepted, or the field could never be left.
    if (v == typed)
        ok = true;
    m_anRange[n] = v;
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
    static const int kAll[4] = {1, 124, 512, kLastChannel};
    for (int n = 0; n < 4; ++n)
        SetField(n, kAll[n]);
}

void CChannelScanDlg::OnDelete()
{
    for (int n = 0; n < SCAN_RANGE_FIELDS; ++n)
        SetField(n, 0);
    m_nSelected = 0;
    SetChannelText(0, m_edtChannel);
    if (m_btnNext)
        m_btnNext->setEnabled(false);
    ResetDisplay();
}

QString CChannelScanDlg::ScanList() const
{
    QString list;
    int i = 0;
    for (; i < SCAN_RANGE_FIELDS; ++i) {
        if (m_anRange[i] == 0)
            break;
        const QString text = RangeEdit(i) ? RangeEdit(i)->text() : QString();
        if (i % 2 == 0) {
            if (i > 1)
                list += QLatin1Char(',');
            list += text + QLatin1Char('-');
        } else {
            list += text;
        }
    }
    const bool bValid = i == SCAN_RANGE_FIELDS || (i % 2 == 0 && i != 0);
    return bValid ? list : QString();
}

void CChannelScanDlg::OnSelect()
{
    const QString list = ScanList();
    if (!list.isEmpty() && m_pController && m_pController->m_bPoweredOn) {
        for (int i = 0; i < SCAN_RANGE_FIELDS; ++i)
            m_anActive[i] = m_anRange[i];
        m_nSelected = m_anActive[0];
        ResetDisplay();
        m_bScanRequested = true;
        DrawWaitingText();
        if (m_pReport)
            m_pReport->ResetScanLevels();
        const QByteArray text = list.toLatin1();
        m_pController->SendTrace("*S");
        m_pController->SendTrace("\r");
        m_pController->SendTrace("\r");
        m_pController->SendTrace(text.constData(), "\r");
    } else {
        CUiServices::Beep();
    }
    CancelDrag();
}

void CChannelScanDlg::NarrowRanges(int a, int b)
{
    const int lo = qMin(a, b);
    const int hi = qMax(a, b);
    for (int n = 0; n < SCAN_RANGE_FIELDS; ++n)
        SetField(n, 0);
    SetField(0, lo);
    int k = 0;
    for (int j = 1; j < SCAN_RANGE_FIELDS; ++j) {
        const int f = m_anActive[j];
        if (f == 0 || f < lo)
            continue;
        // A range that starts at lo already has lo as its start.
        if (j % 2 == 0 && f == lo)
            continue;
        ++k;
        if (f <= hi) {
            SetField(k, f);
            continue;
        }
        // hi ends the list; when hi closed the range before, the list ends
        // there instead of opening a range without an end.
        if (k % 2 == 1)
            SetField(k, hi);
        break;
    }
    OnSelect();
}

void CChannelScanDlg::SendScanEnd()
{
    // The module stops scanning.
    if (m_pController) {
        m_pController->SendTrace("*S");
        m_pController->SendTrace("1\r");
        m_pController->SendTrace("\r");
        m_pController->SendTrace("1", "\r");
    }
}

void CChannelScanDlg::OnGo()
{
    if (m_nSelected != 0 && m_pReport)
        m_pReport->ResetScanLevels();
    SendScanEnd();
    EndDialog(IDOK);
}

void CChannelScanDlg::OnCancel()
{
    m_nSelected = 0;
    if (m_pReport)
        m_pReport->ResetScanLevels();
    SendScanEnd();
    ResetDisplay();
    EndDialog(IDCANCEL);
    if (m_pController)
        m_pController->SendTraceFlags();
}

// ---------------------------------------------------------------------------
// Graph

void CChannelScanDlg::RepaintGraph()
{
    if (m_pGraph && m_pGraph->isVisible())
        m_pGraph->repaint();
}

void CChannelScanDlg::RepaintPart(PaintPart part, const QRect& rc)
{
    if (!m_pGraph || !m_pGraph->isVisible())
        return;
    m_nPaintPart = part;
    m_pGraph->repaint(rc);
    m_nPaintPart = PAINT_ALL;
}

void CChannelScanDlg::ResetDisplay()
{
    for (int& x : m_anBarX)
        x = -1;
    m_nDragStart = m_nDragCurrent = -1;
    SetChannelText(0, m_edtLevel);
    SetChannelText(0, m_edtChannel);
    for (QPushButton* b : {m_btnGo.data(), m_btnNext.data(), m_btnPrev.data()})
        if (b)
            b->setEnabled(false);
    m_bScanRequested = false;
    RepaintGraph();
}

void CChannelScanDlg::DrawWaitingText()
{
    const QString text = QString::fromLatin1(kWaiting);
    const QFontMetrics fm(m_font);
    const int cx = fm.horizontalAdvance(text);
    RepaintPart(PAINT_WAITING, QRect(kWaitingX - cx / 2 - 2, kWaitingY, cx + 4, fm.height() + 2));
}

void CChannelScanDlg::DrawAxisAndSelection()
{
    const int B = m_rcGraph.bottom();
    RepaintPart(PAINT_AXIS, QRect(0, B, m_rcClient.width(), 5));
}

void CChannelScanDlg::CancelDrag()
{
    m_nDragStart = m_nDragCurrent = -1;
    DrawAxisAndSelection();
}

void CChannelScanDlg::PaintGraph(QPainter& dc)
{
    if (m_bDestroying)
        return;
    // A partial request redraws the whole picture clipped to its region, so
    // the rest of the picture stays exactly as it is.
    OnPaint(dc);
    if (m_nPaintPart == PAINT_WAITING) {
        dc.setFont(m_font);
        TextAt(dc, kWaitingX, kWaitingY, QString::fromLatin1(kWaiting), Qt::AlignHCenter);
    }
}

void CChannelScanDlg::PaintAxisAndSelection(QPainter& dc)
{
    const int L = m_rcGraph.left(), R = m_rcGraph.right(), B = m_rcGraph.bottom();
    const QPen old = dc.pen();
    dc.setPen(m_penAxis);
    dc.drawLine(L, B + 2, R, B + 2);
    if (m_nDragCurrent != -1) {
        dc.setPen(m_penSelection);
        dc.drawLine(m_nDragStart, B + 2, m_nDragCurrent, B + 2);
    }
    dc.setPen(old);
}

void CChannelScanDlg::OnPaint(QPainter& dc)
{
    const int L = m_rcGraph.left(), T = m_rcGraph.top();
    const int R = m_rcGraph.right(), B = m_rcGraph.bottom();

    dc.save(); // the previous font and pen
    dc.setFont(m_font);
    dc.setPen(m_penAxis);
    dc.fillRect(m_rcClient, QColor(170, 170, 170));
    dc.drawLine(L, T, L, B + 2);
    PaintAxisAndSelection(dc);

    TextAt(dc, 4, 10, QStringLiteral("Level [dBm]"), Qt::AlignLeft);
    // Level labels every 10 steps up to the top of the graph (bounded, so
    // that a frame too small for a graph ends the walk too).
    for (int v = 0; v <= 1000; v += 10) {
        const int y = LevelY(v);
        if (y <= T - 20)
            break;
        TextAt(dc, L - 6, y - 6, QString::number(v - 110), Qt::AlignRight);
    }

    if (!m_bScanRequested) {
        dc.restore();
        return;
    }
    if (m_btnGo)
        m_btnGo->setEnabled(true);

    // The bars share the width: N channels and G gaps between ranges.
    int N = 0, nRanges = 0;
    for (int r = 0; r < 5; ++r) {
        if (m_anActive[2 * r] == 0)
            continue;
        N += qMax(0, m_anActive[2 * r + 1] - m_anActive[2 * r] + 1);
        ++nRanges;
    }
    const int G = nRanges - 1;
    int w = 1, g = 20;
    if (N > 0) {
        w = (R - L - 20 * G) / N;
        if (w > 40) {
            w = (R - L) / (N + G);
            g = w;
        }
    }
    const int b = w > 1 ? w / 2 : 1;
    const int s = w - b;
    m_nBarWidth = b;
    m_nBarSpacing = s;
    for (int& x : m_anBarX)
        x = -1;

    int x = L + s;
    m_nScanLeft = x;
    dc.setPen(m_penGrid);
    int nLastEnd = 0;
    if (N > 0) {
        for (int r = 0; r < 5; ++r) {
            const int a = m_anActive[2 * r];
            if (a == 0)
                continue;
            const int e = m_anActive[2 * r + 1];
            nLastEnd = e;
            TextAt(dc, x, B + 4, QString::number(a), Qt::AlignHCenter);
            for (int c = a; c <= e && c <= kLastChannel; ++c) {
                const int level = m_pReport ? m_pReport->GetScanLevel(c) : -1;
                if (level == -1)
                    continue; // a channel without a level takes no room
                const int h = BarHeight(level);
                m_anBarX[CTraceReport::IndexOfChannel(c)] = x;
                dc.fillRect(QRect(x, B - h, b, h), c == m_nSelected ? m_crSelected : m_crBar);
                x += w;
            }
            if (r < 4 && m_anActive[2 * r + 2] != 0) {
                x += g / 2 - s;
                dc.drawLine(x, B, x, T);
                x += g / 2;
            }
        }
    }
    m_nScanRight = x - s;

    ShowLevel(m_nShown);
    if (m_btnNext)
        m_btnNext->setEnabled(m_nSelected != nLastEnd);
    if (m_btnPrev)
        m_btnPrev->setEnabled(m_nSelected != m_anActive[0]);
    dc.restore();
}

void CChannelScanDlg::ShowLevel(int nChannel)
{
    const int level = m_pReport ? m_pReport->GetScanLevel(nChannel) : -1;
    if (level == -1)
        return;
    SetChannelText(nChannel, m_edtChannel);
    if (m_edtLevel)
        m_edtLevel->setText(QString::asprintf("%d = %d dBm", level, level - 110));
}

int CChannelScanDlg::LevelY(int v) const
{
    return m_rcGraph.bottom() - Scaled(v, m_fScale);
}

int CChannelScanDlg::BarHeight(int level) const
{
    return Scaled(level, m_fScale);
}

bool CChannelScanDlg::InGraph(const QPoint& pt) const
{
    return pt.x() > 0 && pt.x() < m_rcClient.width() && pt.y() > m_rcGraph.top() &&
           pt.y() < m_rcGraph.bottom();
}

int CChannelScanDlg::BarAt(int x) const
{
    // A bar answers for itself and half the space on either side. With an
    // even space the two halves would share a pixel with the next bar's
    // (with no space at all, the next bar itself), so the right end is then
    // left out: every pixel belongs to one bar.
    const int half = m_nBarSpacing / 2;
    const int right = m_nBarWidth + half - (m_nBarSpacing % 2 == 0 ? 1 : 0);
    for (int i = 0; i < SCAN_CHANNELS; ++i) {
        const int e = m_anBarX[i];
        if (e != -1 && e - half <= x && x <= e + right)
            return CTraceReport::ChannelOfIndex(i);
    }
    return 0;
}

int CChannelScanDlg::ChannelAt(int x) const
{
    if (x < m_nScanLeft)
        return m_anActive[0];
    if (x > m_nScanRight) {
        for (int i = SCAN_RANGE_FIELDS - 1; i >= 1; --i)
            if (m_anActive[i] != 0)
                return m_anActive[i];
        return 0;
    }
    return BarAt(x);
}

void CChannelScanDlg::OnMouseMove(const QPoint& pt, bool bKeyOrButton)
{
    if (m_bDestroying)
        return;
    int hovered = 0;
    if (InGraph(pt)) {
        hovered = BarAt(pt.x());
        if (bKeyOrButton) {
            m_nDragCurrent = pt.x();
            if (m_nDragStart > m_nScanRight) {
                if (m_nDragCurrent > m_nScanRight)
                    m_nDragCurrent = -1;
                else
                    m_nDragStart = m_nScanRight;
            }
            if (m_nDragStart < m_nScanLeft) {
                if (m_nDragCurrent < m_nScanLeft)
                    m_nDragCurrent = -1;
                else
                    m_nDragStart = m_nScanLeft;
            }
            if (m_nDragCurrent != -1)
                m_nDragCurrent =
                    qBound(m_nScanLeft, m_nDragCurrent, qMax(m_nScanLeft, m_nScanRight));
        }
    }
    if (hovered != 0) {
        m_nShown = hovered;
    } else {
        m_nShown = m_nSelected;
        m_nDragCurrent = -1; // no selection line while the pointer is off the bars
    }
    DrawAxisAndSelection();
    ShowLevel(m_nShown);
}

void CChannelScanDlg::OnLButtonDown(const QPoint& pt)
{
    if (InGraph(pt))
        m_nDragStart = m_nDragCurrent = pt.x();
    else
        m_nDragStart = m_nDragCurrent = -1;
}

void CChannelScanDlg::OnLButtonUp(const QPoint& pt)
{
    if (m_nDragStart != -1 && m_nDragCurrent != -1) {
        const int x = pt.x();
        if (qAbs(x - m_nDragStart) < 3) {
            m_nSelected = ChannelAt(x);
            RepaintGraph();
        } else {
            const int a = ChannelAt(m_nDragStart);
            const int c = ChannelAt(x);
            if (a != 0 && c != 0 && a != c)
                NarrowRanges(a, c);
        }
    }
    m_nDragStart = m_nDragCurrent = -1;
}

void CChannelScanDlg::OnRButtonDown()
{
    m_nDragStart = m_nDragCurrent = -1;
    DrawAxisAndSelection();
}

void CChannelScanDlg::OnPrev()
{
    if (m_nSelected == 0 || m_nSelected == 1)
        return;
    int c;
    if (m_nSelected > 124 && m_nSelected < 512)
        c = 124; // a range start between the two bands steps into the plan
    else
        c = CTraceReport::ChannelOfIndex(CTraceReport::IndexOfChannel(m_nSelected) - 1);
    m_nSelected = m_nShown = c;
    RepaintGraph();
}

void CChannelScanDlg::OnNext()
{
    if (m_nSelected == 0 || m_nSelected >= kLastChannel)
        return;
    int c;
    if (m_nSelected > 124 && m_nSelected < 512)
        c = 512;
    else
        c = CTraceReport::ChannelOfIndex(CTraceReport::IndexOfChannel(m_nSelected) + 1);
    m_nSelected = m_nShown = c;
    RepaintGraph();
}

// The dialog's own surface: pointer positions are taken in graph pixels.
void CChannelScanDlg::mouseMoveEvent(QMouseEvent* e)
{
    if (m_pGraph)
        OnMouseMove(m_pGraph->mapFrom(this, e->position().toPoint()), IsDragState(e));
}

void CChannelScanDlg::mousePressEvent(QMouseEvent* e)
{
    if (!m_pGraph)
        return;
    if (e->button() == Qt::LeftButton)
        OnLButtonDown(m_pGraph->mapFrom(this, e->position().toPoint()));
    else if (e->button() == Qt::RightButton)
        OnRButtonDown();
}

void CChannelScanDlg::mouseDoubleClickEvent(QMouseEvent* e)
{
    mousePressEvent(e);
}

void CChannelScanDlg::mouseReleaseEvent(QMouseEvent* e)
{
    if (m_pGraph && e->button() == Qt::LeftButton)
        OnLButtonUp(m_pGraph->mapFrom(this, e->position().toPoint()));
}
