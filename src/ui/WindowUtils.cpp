#include "ui/WindowUtils.h"

#include "base/Text.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateTime>
#include <QScreen>
#include <QStringDecoder>
#include <QStyle>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <utility>

QString ProgramTitle()
{
    return QStringLiteral("Lyravane 1999");
}

QString FileNamePart(const QString& path)
{
    qsizetype cut = path.lastIndexOf(QLatin1Char('/'));
#ifdef Q_OS_WIN
    cut = std::max({cut, path.lastIndexOf(QLatin1Char('\\')), path.lastIndexOf(QLatin1Char(':'))});
#endif
    return path.mid(cut + 1);
}

QString FileBaseName(const QString& path)
{
    const QString name = FileNamePart(path);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot > 0 ? name.left(dot) : name;
}

QRect ScreenWorkArea(const QWidget* window)
{
    const QScreen* screen = window != nullptr ? window->screen() : nullptr;
    if (screen == nullptr)
        screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 640, 480);
}

QPoint ClampIntoArea(QPoint topLeft, QSize size, const QRect& area)
{
    int x = std::min(topLeft.x(), area.left() + area.width() - size.width());
    int y = std::min(topLeft.y(), area.top() + area.height() - size.height());
    x = std::max(x, area.left());
    y = std::max(y, area.top());
    return {x, y};
}

void KeepOnScreen(QWidget* window)
{
    const QRect area = ScreenWorkArea(window);
    QRect frame = window->frameGeometry();
    // Larger than the work area (a large scale factor): as large as the work area, as far as
    // the window's minimum size lets it shrink.
    const QSize excess = (frame.size() - area.size()).expandedTo(QSize(0, 0));
    if (excess.width() > 0 || excess.height() > 0)
    {
        window->resize(window->size() - excess);
        frame = window->frameGeometry();
    }
    const QPoint target = ClampIntoArea(frame.topLeft(), frame.size(), area);
    if (target != frame.topLeft())
        window->move(target);
}

QString WhenText(const QDateTime& at, const QDateTime& now)
{
    const QString time = at.time().toString(QStringLiteral("HH:mm"));
    const qint64 days = at.date().daysTo(now.date());
    if (days == 0)
        return QCoreApplication::translate("WindowUtils", "hoy, ") + time;
    if (days == 1)
        return QCoreApplication::translate("WindowUtils", "ayer, ") + time;
    return at.date().toString(QStringLiteral("d/M/yyyy")) + QStringLiteral(", ") + time;
}

void CenterOnOwner(QWidget* window)
{
    const QWidget* owner = window->parentWidget();
    if (owner == nullptr)
        return;
    owner = owner->window();
    const QRect outer = owner->frameGeometry();
    const QSize size = window->frameGeometry().size();
    // C++ division truncates toward zero, as the rule asks.
    window->move(outer.left() + outer.width() / 2 - size.width() / 2,
                 outer.top() + outer.height() / 2 - size.height() / 2);
    KeepOnScreen(window);
}

int WidenPopup(QComboBox* list)
{
    QAbstractItemView* view = list->view();
    const int scroll = view->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const int width = view->sizeHintForColumn(0) + scroll + 8;
    view->setMinimumWidth(width);
    return width;
}

namespace
{
/// Calls a function once its window has been exposed and painted for the first time.
class TFirstPaintWatcher : public QObject
{
public:
    TFirstPaintWatcher(QWindow* window, std::function<void()> done)
        : QObject(window), FDone(std::move(done))
    {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* window = static_cast<QWindow*>(watched);
        if (event->type() == QEvent::Expose && window->isExposed() && FDone)
        {
            // The widget paints while it handles this event; the call comes right after.
            QTimer::singleShot(0, window, std::exchange(FDone, nullptr));
            window->removeEventFilter(this);
        }
        return false;
    }

private:
    std::function<void()> FDone;
};
} // namespace

void WhenOnScreen(QWidget* window, std::function<void()> done)
{
    QWindow* handle = window->windowHandle();
    if (handle == nullptr || handle->isExposed())
        done();
    else
        new TFirstPaintWatcher(handle, std::move(done));
}

TWaitCursor::TWaitCursor()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

TWaitCursor::~TWaitCursor()
{
    QApplication::restoreOverrideCursor();
}

QString DisplayName(const std::string& bytes)
{
    const QByteArray raw = QByteArray::fromStdString(bytes);
    if (IsValidUtf8(bytes))
        return QString::fromUtf8(raw);
    QStringDecoder decoder("Shift_JIS");
    if (decoder.isValid())
    {
        QString text = decoder.decode(raw);
        if (!decoder.hasError())
            return text;
    }
    return QString::fromLatin1(raw);
}
