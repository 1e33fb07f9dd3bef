// Draws the controls in their states into PNG files, so that they can be looked at:
//   controls_gallery OUTPUT_DIR
// Runs on any Qt platform; QT_QPA_PLATFORM=offscreen needs no display.

#include "controls/DialButton.h"
#include "controls/DialEdit.h"
#include "controls/FakeGroupBox.h"
#include "controls/ImageListEx.h"
#include "controls/MenuButton.h"
#include "controls/ScrollFrame.h"
#include "controls/SpeedDivider.h"
#include "controls/SpinButton.h"
#include "controls/ToolbarImages.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QEnterEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QRadioButton>

#include <cstdio>

namespace
{

bool Save(QWidget& widget, const QString& path)
{
    const bool ok = widget.grab().save(path);
    std::printf("%s %s\n", ok ? "wrote" : "FAILED", qPrintable(path));
    return ok;
}

/// Every image above its disabled form (drawn from the disabled list), at zoom, on the tool bar's
/// face colour.
QImage ImageSheet(const TImageListEx& normal, int zoom)
{
    const int cell = ToolbarImageSize + 4;
    QImage sheet(cell * ToolbarImageCount * zoom, cell * 2 * zoom, QImage::Format_RGB32);
    sheet.fill(QApplication::palette().color(QPalette::Button));
    QPainter painter(&sheet);
    painter.scale(zoom, zoom);
    for (int i = 0; i < ToolbarImageCount; ++i)
    {
        normal.Draw(painter, i * cell + 2, 2, i, true);
        normal.Draw(painter, i * cell + 2, cell + 2, i, false);
    }
    return sheet;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    QFont font = QApplication::font();
    font.setPointSize(9);
    QApplication::setFont(font);
    const QDir out(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath());
    bool ok = true;

    TImageListEx images(nullptr);
    TImageListEx disabledImages(nullptr);
    images.LoadStrip(ToolbarImageStrip());
    disabledImages.LoadStrip(ToolbarDisabledImageStrip());
    images.SetDisabledImages(&disabledImages);
    ok &= ImageSheet(images, 4).save(out.filePath(QStringLiteral("toolbar-images.png")));

    // Tool bar: flat buttons in the main window's order, with dividers, in every state.
    QWidget toolbar;
    toolbar.resize(420, 30);
    const int order[] = {tiNew,      tiOpen, tiSave,  tiExportMidi,  -1, tiInsert,
                         tiCut,      tiCopy, tiPaste, tiDelete,      -1, tiPlayUnit,
                         tiPlaySong, tiStop, -1,      tiHelpContents};
    int x = 4;
    for (int index : order)
    {
        if (index < 0)
        {
            auto* divider = new TSpeedDivider(&toolbar);
            divider->setGeometry(x, 4, 8, 22);
            x += 8;
            continue;
        }
        auto* button = new TMenuButton(&toolbar);
        button->SetFlat(true);
        button->SetImages(&images);
        button->SetImageIndex(index);
        button->move(x, 4);
        x += TMenuButton::DefaultWidth;
        if (index == tiCut || index == tiPaste)
            button->setEnabled(false);
    }
    toolbar.show();
    ok &= Save(toolbar, out.filePath(QStringLiteral("toolbar.png")));

    // One button per state, each grabbed on its own, flat and not flat.
    QWidget states;
    states.resize(8 * 27 + 4, 56);
    for (int flat = 0; flat < 2; ++flat)
    {
        for (int s = 0; s < 5; ++s)
        {
            auto* button = new TMenuButton(&states);
            button->SetFlat(flat == 1);
            button->SetImages(&images);
            button->SetImageIndex(tiPlaySong);
            button->move(4 + s * 27, 4 + flat * 26);
            if (s == 1)
                button->setEnabled(false);
            if (s == 3)
                button->SetDown(true);
            if (s == 2 || s == 4)
            {
                // Pressed (2) and lit (4) come from mouse events.
                QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
                QApplication::sendEvent(button, &enter);
                if (s == 2)
                {
                    QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5),
                                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
                    QApplication::sendEvent(button, &press);
                }
            }
        }
    }
    states.show();
    ok &= Save(states, out.filePath(QStringLiteral("button-states.png")));

    // Property-page-like group boxes with dial edits.
    QWidget page;
    page.resize(420, 170);
    auto* key = new TFakeGroupBox(QStringLiteral("Tecla"), &page);
    key->setGeometry(8, 8, 130, 50);
    auto* dialK = new TDialEdit(key);
    dialK->SetMinValue(-12);
    dialK->SetMaxValue(12);
    dialK->SetValue(-5);
    dialK->move(10, 20);
    auto* tempo = new TFakeGroupBox(QStringLiteral("Tiempo"), &page);
    tempo->setGeometry(146, 8, 130, 50);
    auto* dialT = new TDialEdit(tempo);
    dialT->SetMinValue(10);
    dialT->SetMaxValue(250);
    dialT->SetValue(120);
    dialT->move(10, 20);
    auto* off = new TFakeGroupBox(QStringLiteral("Destino de la Creacion"), &page);
    off->setGeometry(284, 8, 128, 50);
    auto* offDial = new TDialEdit(off);
    offDial->SetValue(64);
    offDial->move(10, 20);
    off->setEnabled(false);
    auto* scale = new TFakeGroupBox(QStringLiteral("Escala"), &page);
    scale->setGeometry(8, 66, 130, 60);
    (new QRadioButton(QStringLiteral("Mayor"), scale))->setGeometry(10, 18, 100, 18);
    (new QRadioButton(QStringLiteral("Menor"), scale))->setGeometry(10, 36, 100, 18);
    auto* narrow = new TFakeGroupBox(QStringLiteral("Ordenar Partitura muy larga"), &page);
    narrow->setGeometry(146, 66, 90, 60);
    auto* option = new TFakeGroupBox(QStringLiteral("Option"), &page);
    option->setGeometry(244, 66, 168, 60);
    (new QCheckBox(QStringLiteral("Usar septima"), option))->setGeometry(10, 20, 140, 18);
    page.show();
    dialT->setFocus();
    dialT->selectAll();
    ok &= Save(page, out.filePath(QStringLiteral("property-groups.png")));

    // Dial edits: at rest, dial held, up button held, down button held, disabled.
    QWidget dials;
    dials.resize(5 * 95 + 6, 32);
    for (int i = 0; i < 5; ++i)
    {
        auto* dial = new TDialEdit(&dials);
        dial->move(4 + i * 95, 4);
        dial->SetValue(10 * i);
        if (i == 4)
            dial->setEnabled(false);
        QWidget* held = i == 1   ? static_cast<QWidget*>(dial->DialButton())
                        : i == 2 ? static_cast<QWidget*>(dial->UpButton())
                        : i == 3 ? static_cast<QWidget*>(dial->DownButton())
                                 : nullptr;
        if (held != nullptr)
        {
            QMouseEvent press(QEvent::MouseButtonPress, QPointF(2, 2),
                              held->mapToGlobal(QPointF(2, 2)), Qt::LeftButton, Qt::LeftButton,
                              Qt::NoModifier);
            QApplication::sendEvent(held, &press);
        }
    }
    dials.show();
    ok &= Save(dials, out.filePath(QStringLiteral("dial-states.png")));

    // Scroll frames: painted by their owner, with both bars, with none, and a bar with nothing
    // to scroll.
    QWidget frames;
    frames.resize(400, 150);
    auto* scrolled = new TScrollFrame(&frames);
    scrolled->setGeometry(4, 4, 185, 129);
    scrolled->HorzScrollBar()->SetRange(400);
    scrolled->HorzScrollBar()->SetPageSize(scrolled->ClientWidth());
    scrolled->HorzScrollBar()->SetPosition(40);
    scrolled->VertScrollBar()->SetRange(50);
    scrolled->VertScrollBar()->SetPageSize(100);
    QObject::connect(scrolled, &TScrollFrame::Paint, scrolled,
                     [scrolled](QPainter* painter)
                     {
                         const int dx = scrolled->HorzScrollBar()->Position();
                         for (int i = 0; i < 25; ++i)
                         {
                             painter->drawRect(i * 16 - dx, 10, 14, 14);
                             painter->drawText(i * 16 - dx + 3, 40, QString::number(i % 10));
                         }
                     });
    auto* cells = new TScrollFrame(&frames);
    cells->setGeometry(200, 4, 132, 24);
    cells->HorzScrollBar()->SetVisible(false);
    cells->VertScrollBar()->SetVisible(false);
    cells->SetColor(QApplication::palette().color(QPalette::Base));
    QObject::connect(cells, &TScrollFrame::Paint, cells,
                     [](QPainter* painter)
                     {
                         const char* rhythm = "*-.*--*.";
                         for (int s = 0; s < 8; ++s)
                             painter->drawText(16 * s + 4, 15, QString(QChar(rhythm[s])));
                     });
    frames.show();
    ok &= Save(frames, out.filePath(QStringLiteral("scroll-frames.png")));

    return ok ? 0 : 1;
}
