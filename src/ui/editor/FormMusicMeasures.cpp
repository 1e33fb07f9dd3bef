#include "ui/editor/FormMusicMeasures.h"

#include "controls/ControlsAccessible.h"
#include "controls/FakeGroupBox.h"
#include "controls/ScrollFrame.h"
#include "model/Munit.h"
#include "ui/editor/MeasureRows.h"

#include <QAbstractItemDelegate>
#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QShortcut>
#include <QStatusTipEvent>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <QVBoxLayout>

#include <functional>
#include <utility>

namespace
{

constexpr int ChordComboWidth = 64;
constexpr int ChordItemHeight = 18;

using TDrawItem = std::function<void(QPainter&, const QRect&, int, bool)>;

/// Draws the items of a chord combo's list through the window's draw-item handler.
class TChordItemDelegate : public QAbstractItemDelegate
{
public:
    TChordItemDelegate(TDrawItem drawItem, QObject* parent)
        : QAbstractItemDelegate(parent), FDrawItem(std::move(drawItem))
    {
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        FDrawItem(*painter, option.rect, index.row(),
                  option.state.testFlag(QStyle::State_Selected));
    }

    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override
    {
        return QSize(ChordComboWidth, ChordItemHeight);
    }

private:
    TDrawItem FDrawItem;
};

/// A drop-down list whose items are drawn by the window, the shown item included: a field
/// with the numeral, highlighted while the box has the focus.
class TChordComboBox : public QComboBox
{
public:
    TChordComboBox(TDrawItem drawItem, QWidget* parent)
        : QComboBox(parent), FDrawItem(std::move(drawItem))
    {
        setItemDelegate(new TChordItemDelegate(FDrawItem, this));
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QStylePainter painter(this);
        QStyleOptionComboBox option;
        initStyleOption(&option);
        option.currentText.clear();
        option.currentIcon = QIcon();
        // Drawn as a field, so that the cleared item rectangle sits on its own colour.
        option.editable = true;
        painter.drawComplexControl(QStyle::CC_ComboBox, option);
        const QRect field = style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                    QStyle::SC_ComboBoxEditField, this);
        if (currentIndex() >= 0)
            FDrawItem(painter, field, currentIndex(), hasFocus());
    }

    void focusInEvent(QFocusEvent* event) override
    {
        QComboBox::focusInEvent(event);
        update();
    }

    void focusOutEvent(QFocusEvent* event) override
    {
        QComboBox::focusOutEvent(event);
        update();
    }

private:
    TDrawItem FDrawItem;
};

QLabel* RowLabel(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return label;
}

TMeasureRowFrame* MakeFrame(TFormMusicMeasures* form, QWidget* parent, bool melody, int bar,
                            int height)
{
    auto* frame = new TMeasureRowFrame(form, melody, bar, parent);
    frame->setObjectName((melody ? QStringLiteral("MelodyFrame") : QStringLiteral("RhythmFrame")) +
                         QString::number(bar + 1));
    frame->HorzScrollBar()->SetVisible(false);
    frame->VertScrollBar()->SetVisible(false);
    frame->SetOpaque(false);
    frame->SetBarSizeFixed(false);
    frame->setFixedSize(TFormMusicMeasures::FrameWidth, height);
    frame->setCursor(Qt::PointingHandCursor);
    return frame;
}

} // namespace

TFormMusicMeasures::TFormMusicMeasures(QWidget* parent)
    : TUnitPage(parent), FGlyphs(qApp->devicePixelRatio())
{
    setObjectName(QStringLiteral("FormMusicMeasures"));
    // The chord boxes' names reach screen readers through the controls' interfaces.
    InstallControlsAccessibility();
    setWindowTitle(tr("Estimar forma musica"));
    CreateControls();
    // F9 composes the unit shown from anywhere in the window, as the button does.
    ButtonCompose->setToolTip(tr("Compone los compases sin bloquear (F9)"));
    auto* composeKey = new QShortcut(QKeySequence(Qt::Key_F9), this);
    composeKey->setContext(Qt::WindowShortcut);
    connect(composeKey, &QShortcut::activated, ButtonCompose, &QPushButton::click);
}

void TFormMusicMeasures::CreateControls()
{
    // The page lies at (-4, -4) in the main window's page panel: 4 pixels of each edge are
    // out of sight.
    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(12, 10, 12, 10);
    page->setSpacing(8);

    auto* top = new QHBoxLayout;
    top->setSpacing(8);
    page->addLayout(top);

    const int captionHeight = fontMetrics().height();
    GroupBoxCompose = new TFakeGroupBox(tr("Composicion Automatica"), this);
    GroupBoxCompose->setObjectName(QStringLiteral("GroupBoxCompose"));
    auto* compose = new QVBoxLayout(GroupBoxCompose);
    compose->setContentsMargins(10, captionHeight + 4, 10, 9);
    compose->setSpacing(4);
    auto* engine = new QGridLayout;
    engine->setSpacing(4);
    compose->addLayout(engine);
    auto makeButton = [this](const QString& caption, const char* name)
    {
        auto* button = new QPushButton(caption, GroupBoxCompose);
        button->setObjectName(QString::fromLatin1(name));
        button->setAutoDefault(false);
        return button;
    };
    ButtonCompose = makeButton(tr("Comp. Automatica"), "ButtonCompose");
    ButtonComposeChord = makeButton(tr("Comp. Automatica de Acordes"), "ButtonComposeChord");
    ButtonComposeRhythm = makeButton(tr("Auto longitud/Comp. Melodia"), "ButtonComposeRhythm");
    ButtonComposeMelody = makeButton(tr("Comp. Automatica Melodia"), "ButtonComposeMelody");
    ButtonClear = makeButton(tr("Limpiar Partitura"), "ButtonClear");
    ButtonUnlockAll = makeButton(tr("Desbloquear Todo"), "ButtonUnlockAll");
    ButtonLockAll = makeButton(tr("Bloquear Todo"), "ButtonLockAll");
    QFont strong = ButtonCompose->font();
    strong.setBold(true);
    ButtonCompose->setFont(strong);
    engine->addWidget(ButtonCompose, 0, 0);
    engine->addWidget(ButtonComposeChord, 0, 1);
    engine->addWidget(ButtonComposeRhythm, 1, 0);
    engine->addWidget(ButtonComposeMelody, 1, 1);
    auto* score = new QHBoxLayout;
    score->setSpacing(4);
    compose->addSpacing(4);
    compose->addLayout(score);
    score->addWidget(ButtonClear, 1);
    score->addWidget(ButtonUnlockAll, 1);
    score->addWidget(ButtonLockAll, 1);
    top->addWidget(GroupBoxCompose, 1);

    GroupBoxOption = new TFakeGroupBox(tr("Opcion"), this);
    GroupBoxOption->setObjectName(QStringLiteral("GroupBoxOption"));
    auto* options = new QVBoxLayout(GroupBoxOption);
    options->setContentsMargins(10, captionHeight + 4, 10, 9);
    options->setSpacing(3);
    auto makeCheckBox = [](const QString& caption, const char* name, QWidget* parent)
    {
        auto* box = new QCheckBox(caption, parent);
        box->setObjectName(QString::fromLatin1(name));
        return box;
    };
    CheckBoxCadence = makeCheckBox(tr("Parar Forma"), "CheckBoxCadence", GroupBoxOption);
    CheckBoxShortNotes = makeCheckBox(tr("Notas Cortas"), "CheckBoxShortNotes", GroupBoxOption);
    CheckBoxHarmonyVoice =
        makeCheckBox(tr("Melodia Armonica"), "CheckBoxHarmonyVoice", GroupBoxOption);
    CheckBoxFill = makeCheckBox(tr("Llenar"), "CheckBoxFill", GroupBoxOption);
    for (QCheckBox* box : {CheckBoxCadence, CheckBoxShortNotes, CheckBoxHarmonyVoice, CheckBoxFill})
        options->addWidget(box);
    options->addStretch(1);
    top->addWidget(GroupBoxOption);

    page->addStretch(1);
    page->addWidget(CreateBarGrid(), 0, Qt::AlignLeft);
    page->addStretch(1);
    ConnectCommands();
}

void TFormMusicMeasures::ConnectCommands()
{
    // Each click is one undo step; the composition commands first make sure a bar is open.
    using T = TFormMusicMeasures;
    const auto connectStep = [this](QAbstractButton* button, const QString& step,
                                    void (T::*handler)(), bool needsOpenBar)
    {
        connect(button, &QAbstractButton::clicked, this,
                [this, step, handler, needsOpenBar]
                {
                    if (needsOpenBar && AllBarsLocked())
                        ShowStatus(tr("Todos los compases están bloqueados."));
                    else
                        RunEdit(step, nullptr, [this, handler] { (this->*handler)(); });
                });
    };
    connectStep(ButtonCompose, tr("Comp. Automática"), &T::ButtonComposeClick, true);
    connectStep(ButtonComposeChord, tr("Comp. Automática de Acordes"), &T::ButtonComposeChordClick,
                true);
    connectStep(ButtonComposeRhythm, tr("Auto longitud/Comp. Melodía"),
                &T::ButtonComposeRhythmClick, true);
    connectStep(ButtonComposeMelody, tr("Comp. Automática Melodía"), &T::ButtonComposeMelodyClick,
                true);
    connectStep(ButtonClear, tr("Limpiar Partitura"), &T::ButtonClearClick, true);
    connectStep(ButtonUnlockAll, tr("Desbloquear Todo"), &T::ButtonUnlockAllClick, false);
    connectStep(ButtonLockAll, tr("Bloquear Todo"), &T::ButtonLockAllClick, false);
    connectStep(CheckBoxCadence, tr("Parar Forma"), &T::CheckBoxCadenceClick, false);
    connectStep(CheckBoxShortNotes, tr("Notas Cortas"), &T::CheckBoxShortNotesClick, false);
    connectStep(CheckBoxHarmonyVoice, tr("Melodía Armónica"), &T::CheckBoxHarmonyVoiceClick, false);
    connectStep(CheckBoxFill, tr("Llenar"), &T::CheckBoxFillClick, false);
}

QWidget* TFormMusicMeasures::CreateBarGrid()
{
    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("BarGrid"));
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(5);
    grid->setVerticalSpacing(5);

    LabelChord = RowLabel(tr("Acorde"), panel);
    LabelRhythm = RowLabel(tr("Longitud"), panel);
    LabelMelody = RowLabel(tr("Melodia"), panel);
    LabelChord->setObjectName(QStringLiteral("LabelChord"));
    LabelRhythm->setObjectName(QStringLiteral("LabelRhythm"));
    LabelMelody->setObjectName(QStringLiteral("LabelMelody"));
    grid->addWidget(LabelChord, 2, 0);
    grid->addWidget(LabelRhythm, 3, 0);
    grid->addWidget(LabelMelody, 4, 0);

    for (int bar = 0; bar < Bars; ++bar)
    {
        AddBarHeading(*grid, panel, bar);
        grid->addLayout(CreateChordBoxes(panel, bar), 2, bar + 1);
        AddRowFrames(*grid, panel, bar);
    }
    grid->addItem(new QSpacerItem(0, 4), 1, 0);
    return panel;
}

void TFormMusicMeasures::AddBarHeading(QGridLayout& grid, QWidget* panel, int bar)
{
    const QString number = QString::number(bar + 1);
    LabelBar[bar] = new QLabel(tr("Barra ") + number, panel);
    LabelBar[bar]->setObjectName(QStringLiteral("LabelBar") + number);
    QFont heading = LabelBar[bar]->font();
    heading.setBold(true);
    LabelBar[bar]->setFont(heading);
    grid.addWidget(LabelBar[bar], 0, bar + 1);

    CheckBoxLock[bar] = new QCheckBox(tr("Bloqueado"), panel);
    CheckBoxLock[bar]->setObjectName(QStringLiteral("CheckBoxLock") + number);
    CheckBoxLock[bar]->setAccessibleName(tr("Compás %1 bloqueado").arg(number));
    grid.addWidget(CheckBoxLock[bar], 1, bar + 1);
    connect(CheckBoxLock[bar], &QCheckBox::clicked, this,
            [this, bar]
            { RunEdit(tr("Bloqueado"), nullptr, [this, bar] { CheckBoxLockClick(bar); }); });
}

QLayout* TFormMusicMeasures::CreateChordBoxes(QWidget* panel, int bar)
{
    const TDrawItem drawItem = [this](QPainter& painter, const QRect& rect, int item, bool selected)
    { ComboBoxChordDrawItem(painter, rect, item, selected); };
    auto* chords = new QHBoxLayout;
    chords->setSpacing(FrameWidth - 2 * ChordComboWidth);
    for (int half = 0; half < 2; ++half)
    {
        const int tag = 2 * bar + half;
        auto* combo = new TChordComboBox(drawItem, panel);
        combo->setObjectName(QStringLiteral("ComboBoxChord") + QString::number(tag + 1));
        // A screen reader reads the numeral as the value; the chord it plays is told after.
        combo->setAccessibleName(tr("Compás %1, %2 mitad, acorde")
                                     .arg(bar + 1)
                                     .arg(half == 0 ? tr("primera") : tr("segunda")));
        for (int item = 0; item < ChordItems; ++item)
            combo->addItem(TMeasureGlyphs::ChordNumeral(item + 1));
        combo->setCurrentIndex(-1);
        combo->setFixedWidth(ChordComboWidth);
        combo->setMaxVisibleItems(ChordItems);
        ComboBoxChord[tag] = combo;
        chords->addWidget(combo);
        connect(combo, &QComboBox::activated, this,
                [this, tag](int item) {
                    RunEdit(tr("Acorde"), nullptr,
                            [this, tag, item] { ComboBoxChordChange(tag, item); });
                });
    }
    return chords;
}

void TFormMusicMeasures::AddRowFrames(QGridLayout& grid, QWidget* panel, int bar)
{
    RhythmFrame[bar] = MakeFrame(this, panel, false, bar, RhythmFrameHeight);
    MelodyFrame[bar] = MakeFrame(this, panel, true, bar, MelodyFrameHeight);
    grid.addWidget(RhythmFrame[bar], 3, bar + 1);
    grid.addWidget(MelodyFrame[bar], 4, bar + 1);
    connect(RhythmFrame[bar], &TScrollFrame::Paint, this,
            [this, bar](QPainter* painter) { RhythmFramePaint(bar, *painter); });
    connect(MelodyFrame[bar], &TScrollFrame::Paint, this,
            [this, bar](QPainter* painter) { MelodyFramePaint(bar, *painter); });
    connect(RhythmFrame[bar], &TScrollFrame::MouseDown, this,
            [this, bar](QMouseEvent* event)
            {
                RunEdit(tr("Longitud"), nullptr,
                        [this, bar, event] {
                            RhythmFrameMouseDown(bar, event->button(),
                                                 event->position().toPoint().x());
                        });
            });
    connect(MelodyFrame[bar], &TScrollFrame::MouseDown, this,
            [this, bar](QMouseEvent* event)
            {
                RunEdit(tr("Melodía"), nullptr,
                        [this, bar, event]
                        {
                            MelodyFrameMouseDown(bar, event->button(), event->modifiers(),
                                                 event->position().toPoint().x());
                        });
            });
}

void TFormMusicMeasures::showEvent(QShowEvent* event)
{
    TUnitPage::showEvent(event);
    // The frames take the colour of an edit field, as the system's window colour.
    const QColor window = palette().color(QPalette::Base);
    for (int bar = 0; bar < Bars; ++bar)
    {
        RhythmFrame[bar]->SetColor(window);
        MelodyFrame[bar]->SetColor(window);
    }
}

QWidget* TFormMusicMeasures::EntryControl() const
{
    return ComboBoxChord[0];
}

void TFormMusicMeasures::ShowUnit(TMunit* unit)
{
    FUnit = unit;
    RefreshChords();
    const bool shown = unit != nullptr;
    CheckBoxCadence->setChecked(shown && unit->Cadence != 0);
    CheckBoxShortNotes->setChecked(shown && unit->ShortNotes != 0);
    for (int bar = 0; bar < Bars; ++bar)
        CheckBoxLock[bar]->setChecked(shown && unit->GetLock(bar) != 0);
    CheckBoxFill->setChecked(shown && unit->Fill != 0);
    CheckBoxHarmonyVoice->setChecked(shown && unit->HarmonyVoice != 0);
    RepaintFrames();
}

void TFormMusicMeasures::RefreshChords()
{
    for (int bar = 0; bar < Bars; ++bar)
        for (int half = 0; half < 2; ++half)
        {
            const int chord = FUnit != nullptr ? FUnit->GetChord(bar, 2 * half) : 0;
            // Chord 0 (and anything past VI) selects nothing.
            const int item = chord >= 1 && chord <= ChordItems ? chord - 1 : -1;
            QComboBox* combo = ComboBoxChord[2 * bar + half];
            combo->setCurrentIndex(item);
            combo->setToolTip(ChordToolTip(2 * bar + half));
            combo->setAccessibleDescription(item >= 0 ? combo->toolTip() : tr("sin acorde"));
            combo->update();
        }
}

int TFormMusicMeasures::UnitScale() const
{
    return FUnit != nullptr ? FUnit->Scale() : 0;
}

bool TFormMusicMeasures::AllBarsLocked() const
{
    if (FUnit == nullptr)
        return false;
    for (int bar = 0; bar < Bars; ++bar)
        if (FUnit->GetLock(bar) == 0)
            return false;
    return true;
}

void TFormMusicMeasures::ShowStatus(const QString& text)
{
    // Goes up to the window, which shows it in its status bar.
    QStatusTipEvent tip(text);
    QCoreApplication::sendEvent(this, &tip);
}

void TFormMusicMeasures::RepaintFrames()
{
    for (int bar = 0; bar < Bars; ++bar)
        RhythmFrame[bar]->viewport()->update();
    RepaintMelodyFrames();
}

void TFormMusicMeasures::RepaintMelodyFrames()
{
    for (int bar = 0; bar < Bars; ++bar)
        MelodyFrame[bar]->viewport()->update();
}
