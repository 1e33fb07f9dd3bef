// The keyboard goes through every dialog as one reads it: row by row, left to right.
#include "ui/FormAbout.h"
#include "ui/FormHelp.h"
#include "ui/FormOption.h"

#include <QTest>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

/// The controls Tab stops at, in the dialog's focus chain from its first one.
std::vector<QWidget*> TabStops(QDialog& dialog)
{
    std::vector<QWidget*> stops;
    QWidget* widget = &dialog;
    for (int guard = 0; guard < 200; ++guard)
    {
        widget = widget->nextInFocusChain();
        if (widget == &dialog)
            break;
        if (widget->isVisible() && widget->isEnabled() &&
            (widget->focusPolicy() & Qt::TabFocus) != 0 && widget->focusProxy() == nullptr)
            stops.push_back(widget);
    }
    return stops;
}

/// Fails at the first stop that comes before the one ahead of it in reading order (a row is
/// whatever overlaps vertically).
void ExpectReadingOrder(QDialog& dialog)
{
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    const std::vector<QWidget*> stops = TabStops(dialog);
    ASSERT_GE(stops.size(), 2u) << dialog.objectName().toStdString();
    for (std::size_t i = 1; i < stops.size(); ++i)
    {
        const QRect before(stops[i - 1]->mapTo(&dialog, QPoint(0, 0)), stops[i - 1]->size());
        const QRect after(stops[i]->mapTo(&dialog, QPoint(0, 0)), stops[i]->size());
        const bool sameRow = after.top() < before.bottom() && before.top() < after.bottom();
        const bool inOrder = sameRow ? after.left() >= before.left() : after.top() > before.top();
        EXPECT_TRUE(inOrder) << dialog.objectName().toStdString() << ": "
                             << stops[i - 1]->metaObject()->className() << " "
                             << stops[i - 1]->objectName().toStdString() << " then "
                             << stops[i]->metaObject()->className() << " "
                             << stops[i]->objectName().toStdString();
    }
    dialog.hide();
}

} // namespace

TEST(DialogTabOrderTest, EveryDialogIsTabbedInReadingOrder)
{
    TFormOption options;
    ExpectReadingOrder(options);
    TFormAbout about;
    ExpectReadingOrder(about);
    TFormHelp help;
    ExpectReadingOrder(help);
}
