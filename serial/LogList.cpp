// SPDX-License-Identifier: GPL-3.0-or-later
#include "serial/LogList.h"

#include "serial/LogItemDelegate.h"
#include "serial/LogModel.h"
#include "serial/SerialReader.h"

#include <QCursor>
#include <QEvent>
#include <QFile>
#include <QListView>
#include <QTimer>

namespace {
// A line longer than this is cut...
constexpr int kCutAbove = 251;
// ...to this many characters, followed by "...".
constexpr int kKeep = 255;
} // namespace

// A slow line's batches come less often than the list may show new lines,
// so each batch is shown in the drawing of the fields it changed.
static_assert(CSerialReader::kHoldOffMs > CLogList::kShowEveryMs);

// Tells the list when its window is about to draw.
class CLogList::CPaintHook : public QObject
{
public:
    explicit CPaintHook(CLogList* pList) : m_pList(pList) {}
    QPointer<QWidget> m_pWindow;

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override
    {
        if (pEvent->type() == QEvent::UpdateRequest && pWatched == m_pWindow)
            m_pList->OnWindowDrawing();
        return false;
    }

private:
    CLogList* m_pList;
};

CLogList::CLogList(QListView* pList)
    : m_pList(pList), m_pModel(std::make_unique<CLogModel>(kMaxEntries))
{
    if (!m_pList)
        return;
    m_pList->setModel(m_pModel.get());
    // Every entry is one text line: lets the view skip measuring each one.
    m_pList->setUniformItemSizes(true);
    m_pList->setItemDelegate(new CLogItemDelegate(m_pList));
    m_pShowTimer = std::make_unique<QTimer>();
    m_pShowTimer->setSingleShot(true);
    m_pShowTimer->setInterval(kShowEveryMs);
    QObject::connect(m_pShowTimer.get(), &QTimer::timeout, m_pList, [this]() { Flush(); });
}

CLogList::~CLogList()
{
    // The list outlives its entries quietly: it lets go of them first.
    if (m_pList && m_pList->model() == m_pModel.get())
        m_pList->setModel(nullptr);
}

void CLogList::AddLine(const char* pszPrefix, const QString& strText)
{
    if (strText.isEmpty())
        return;
    QString line = pszPrefix ? QString::fromLatin1(pszPrefix) + strText : strText;
    if (line.size() > kCutAbove) {
        line.truncate(kKeep);
        line += QLatin1String("...");
    }
    Append(line);
}

void CLogList::Append(const QString& line)
{
    if (!m_pList)
        return;
    m_pending.append(line);
    if (m_pending.size() > kMaxEntries)
        m_pending.removeFirst();
    // Off screen nothing is drawn: the list takes the line at once.
    if (!m_pList->isVisible())
        Flush();
    else if (m_pShowTimer->isActive())
        return;
    else if (!m_sinceShown.isValid() || m_sinceShown.elapsed() >= kShowEveryMs)
        ShowWithNextDrawing();
    else
        m_pShowTimer->start(kShowEveryMs - static_cast<int>(m_sinceShown.elapsed()));
}

void CLogList::ShowWithNextDrawing()
{
    QWidget* pWindow = m_pList->window();
    if (!m_pPaintHook)
        m_pPaintHook = std::make_unique<CPaintHook>(this);
    if (m_pPaintHook->m_pWindow != pWindow) {
        if (m_pPaintHook->m_pWindow)
            m_pPaintHook->m_pWindow->removeEventFilter(m_pPaintHook.get());
        m_pPaintHook->m_pWindow = pWindow;
        pWindow->installEventFilter(m_pPaintHook.get());
    }
    m_bShowWithDrawing = true;
    // The list's bottom is drawn anew with the lines anyway: marking it now
    // makes sure the window draws soon, even if nothing else changed. The
    // timer stands in should the window not draw.
    QWidget* pViewport = m_pList->viewport();
    pViewport->update(QRect(0, pViewport->height() - 1, pViewport->width(), 1));
    m_pShowTimer->start(kShowEveryMs);
}

void CLogList::OnWindowDrawing()
{
    if (m_bShowWithDrawing)
        Flush();
}

void CLogList::Flush()
{
    if (!m_pList || m_pending.isEmpty())
        return;
    m_pShowTimer->stop();
    m_bShowWithDrawing = false;
    m_sinceShown.start();
    const int nRows = m_pModel->rowCount();
    const int nShift = m_pModel->Append(m_pending);
    m_pending.clear();
    if (nShift > 0 && m_pModel->rowCount() == nRows)
        ShowShifted(nShift);
    else if (nShift > 0)
        m_pList->viewport()->update();
    SelectNewest();
}

void CLogList::ShowShifted(int nShift)
{
    QWidget* pViewport = m_pList->viewport();
    const int nLast = m_pModel->rowCount() - 1;
    if (!m_pList->isVisible() || nShift > nLast) {
        pViewport->update();
        return;
    }
    // The rows are a column of equal lines that keep their places, so the
    // picture on screen only moves up: its pixels are moved, and what is
    // drawn anew is the rows from the one the selection was on down, and
    // the row under the mouse.
    const QRect last = m_pList->visualRect(m_pModel->index(nLast));
    const QRect moved = m_pList->visualRect(m_pModel->index(nLast - nShift));
    const int nDy = last.top() - moved.top();
    if (nDy <= 0 || nDy >= pViewport->height()) {
        pViewport->update();
        return;
    }
    pViewport->scroll(0, -nDy);
    pViewport->update(QRect(0, moved.top(), pViewport->width(), pViewport->height() - moved.top()));
    // Asking where the mouse is costs a round trip to the display: only
    // when it is over the list.
    const QModelIndex hovered = pViewport->underMouse()
                                    ? m_pList->indexAt(pViewport->mapFromGlobal(QCursor::pos()))
                                    : QModelIndex();
    if (hovered.isValid()) {
        const QRect rect = m_pList->visualRect(hovered);
        pViewport->update(rect);
        pViewport->update(rect.translated(0, -nDy));
    }
}

void CLogList::SelectNewest()
{
    const QModelIndex newest = m_pModel->index(m_pModel->rowCount() - 1);
    m_pList->setCurrentIndex(newest);
    if (m_pList->isVisible())
        m_pList->scrollTo(newest);
}

const QStringList& CLogList::Entries() const
{
    return m_pModel->Entries();
}

void CLogList::AddText(const char* pszPrefix, const QString& strText)
{
    ForEachLine(strText, [&](QStringView line) { AddLine(pszPrefix, line.toString()); });
}

void CLogList::TakeFrom(CLogList& other)
{
    if (&other == this || !other.m_pList)
        return;
    other.Flush();
    for (const QString& entry : other.Entries()) {
        // An entry longer than the cut limit has been cut already: it moves
        // as it is instead of being cut a second time.
        if (entry.size() > kCutAbove)
            Append(entry);
        else
            AddText(nullptr, entry);
    }
    other.m_pModel->Clear();
    Flush();
}

void CLogList::Clear()
{
    m_pending.clear();
    if (m_pShowTimer)
        m_pShowTimer->stop();
    m_bShowWithDrawing = false;
    m_pModel->Clear();
}

int CLogList::SaveToFile(const QString& strPath)
{
    QFile file(strPath);
    if (strPath.isEmpty() || !file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 1;
    Flush();
    bool bOk = true;
    for (const QString& entry : Entries()) {
        QByteArray bytes = entry.toLatin1();
        bytes += "\r\n";
        bOk = file.write(bytes) == bytes.size();
        if (!bOk)
            break;
    }
    file.close();
    return bOk && file.error() == QFileDevice::NoError ? 0 : 1;
}
