// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/FieldEdit.h"

#include <QBackingStore>
#include <QCache>
#include <QCoreApplication>
#include <QEvent>
#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <QStyleOptionFrame>
#include <atomic>

static size_t qHash(const CFieldEdit::SKey& k, size_t seed = 0)
{
    return qHashMulti(seed, k.nSerial, k.nLook, k.strText, k.nWidth, k.nHeight, k.nPalette,
                      k.nScale, k.nAlignment, k.nFlags, k.anMargins[0], k.anMargins[1],
                      k.anMargins[2], k.anMargins[3]);
}

namespace {
// Room for the pictures of every field of the panel with a few dozen
// values each; the least recently shown go first beyond it.
constexpr qsizetype kMaxBytes = 8 * 1024 * 1024;
// Pixels kept free between the text and the field's edges: a text close to
// the edge may be scrolled in the field, which a kept picture cannot follow.
constexpr int kSpare = 8;

struct SFieldPicture
{
    QPixmap picture; // null when the text does not fit
};

// The user-interface thread's own: pictures are drawn there only. They go
// with the application, while the window system is still there.
QCache<CFieldEdit::SKey, SFieldPicture>& Pictures()
{
    static QCache<CFieldEdit::SKey, SFieldPicture> s_pictures(kMaxBytes);
    static const bool s_bCleared = [] {
        qAddPostRoutine([] { s_pictures.clear(); });
        return true;
    }();
    Q_UNUSED(s_bCleared);
    return s_pictures;
}

std::atomic<quint64> g_nNextSerial{1};
} // namespace

CFieldEdit::CFieldEdit(QWidget* pParent) : QLineEdit(pParent), m_nSerial(g_nNextSerial++)
{
    // Paints every pixel itself, its background and then the field, or the
    // kept picture of both: no second painter is opened for the background.
    setAutoFillBackground(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

bool CFieldEdit::Plain() const
{
    return isReadOnly() && !hasFocus() && !hasSelectedText() && echoMode() == QLineEdit::Normal &&
           (!text().isEmpty() || placeholderText().isEmpty()) && !m_bDrawing;
}

void CFieldEdit::changeEvent(QEvent* pEvent)
{
    switch (pEvent->type()) {
    case QEvent::FontChange:
    case QEvent::StyleChange:
    case QEvent::LayoutDirectionChange:
        ++m_nLook; // the pictures drawn so far no longer match
        break;
    default:
        break;
    }
    QLineEdit::changeEvent(pEvent);
}

CFieldEdit::SKey CFieldEdit::Key() const
{
    SKey key;
    key.nSerial = m_nSerial;
    key.nLook = m_nLook;
    key.strText = text();
    key.nWidth = width();
    key.nHeight = height();
    key.nPalette = palette().cacheKey();
    key.nScale = qRound(devicePixelRatioF() * 100);
    key.nAlignment = static_cast<int>(alignment());
    key.nFlags = (isEnabled() ? 1u : 0u) | (isActiveWindow() ? 2u : 0u) | (underMouse() ? 4u : 0u) |
                 (hasFrame() ? 8u : 0u);
    const QMargins margins = textMargins();
    key.anMargins[0] = margins.left();
    key.anMargins[1] = margins.top();
    key.anMargins[2] = margins.right();
    key.anMargins[3] = margins.bottom();
    return key;
}

void CFieldEdit::paintEvent(QPaintEvent* pEvent)
{
    const SFieldPicture* pPicture = Plain() ? Pictures().object(Key()) : nullptr;
    {
        QPainter painter(this);
        if (pPicture && !pPicture->picture.isNull()) {
            painter.drawPixmap(0, 0, pPicture->picture);
            return;
        }
        painter.fillRect(pEvent->rect(), palette().brush(backgroundRole()));
    }
    QLineEdit::paintEvent(pEvent);
    if (!Plain())
        return;
    // The picture is taken afterwards: a widget cannot be drawn elsewhere
    // while it is being painted, and the window's picture is complete only
    // once every widget has painted.
    if (!pPicture && !m_bKeepQueued) {
        m_bKeepQueued = true;
        m_bWhollyPainted = (QRegion(rect()) - pEvent->region()).isEmpty();
        m_paintedKey = Key();
        m_paintedAt = mapTo(window(), QPoint());
        QMetaObject::invokeMethod(
            this, [this]() { Keep(); }, Qt::QueuedConnection);
    }
}

QPixmap CFieldEdit::Painted() const
{
    // The window's own picture still holds what this field painted last,
    // if it painted all of itself and has shown nothing else since.
    const QPoint at = mapTo(window(), QPoint());
    if (!m_bWhollyPainted || !(m_paintedKey == Key()) || at != m_paintedAt)
        return QPixmap();
    QBackingStore* pStore = backingStore();
    QPaintDevice* pDevice = pStore ? pStore->paintDevice() : nullptr;
    if (!pDevice || pDevice->devType() != QInternal::Image)
        return QPixmap();
    const auto* pWindow = static_cast<const QImage*>(pDevice);
    const qreal dpr = pWindow->devicePixelRatio();
    const QRect area(at * dpr, size() * dpr);
    if (!pWindow->rect().contains(area))
        return QPixmap();
    QPixmap picture = QPixmap::fromImage(pWindow->copy(area));
    picture.setDevicePixelRatio(dpr);
    return picture;
}

void CFieldEdit::Keep()
{
    m_bKeepQueued = false;
    if (!Plain() || !isVisible())
        return;
    const SKey key = Key();
    QCache<CFieldEdit::SKey, SFieldPicture>& pictures = Pictures();
    if (pictures.contains(key))
        return;
    auto* pPicture = new SFieldPicture;
    QStyleOptionFrame option;
    initStyleOption(&option);
    const QRect contents = style()
                               ->subElementRect(QStyle::SE_LineEditContents, &option, this)
                               .marginsRemoved(textMargins());
    qsizetype nCost = 1;
    if (fontMetrics().horizontalAdvance(key.strText) + kSpare <= contents.width()) {
        QPixmap picture = Painted();
        if (picture.isNull()) {
            // Drawn once more, off the screen.
            const qreal dpr = devicePixelRatioF();
            picture = QPixmap(size() * dpr);
            picture.setDevicePixelRatio(dpr);
            picture.fill(palette().color(backgroundRole()));
            m_bDrawing = true;
            render(&picture, QPoint(), QRegion(), QWidget::RenderFlags());
            m_bDrawing = false;
        }
        pPicture->picture = picture;
        nCost = qMax<qsizetype>(1, picture.width() * picture.height() * 4);
    }
    pictures.insert(key, pPicture, nCost);
}
