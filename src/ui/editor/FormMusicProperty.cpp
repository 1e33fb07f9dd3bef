#include "ui/editor/FormMusicProperty.h"

#include "base/Text.h"
#include "compose/RandomSetting.h"
#include "controls/DialEdit.h"
#include "controls/FakeGroupBox.h"
#include "midi/GmInstruments.h"
#include "model/Muprop.h"
#include "ui/Translations.h"
#include "ui/WindowUtils.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QToolButton>
#include <QVBoxLayout>

namespace
{
// Indexed by the pitch class of the tonic that sounds: the key's in major, a major sixth above
// it in minor. The blanks and the missing periods are those of the labels users know; they are
// kept as they are.
const char* const MajorKeyLabels[12] = {QT_TRANSLATE_NOOP("TFormMusicProperty", "C-Maj."),
                                        QT_TRANSLATE_NOOP("TFormMusicProperty", "Db-Maj. "),
                                        QT_TRANSLATE_NOOP("TFormMusicProperty", "D-Maj."),
                                        QT_TRANSLATE_NOOP("TFormMusicProperty", "Eb-Maj. "),
                                        QT_TRANSLATE_NOOP("TFormMusicProperty", "E-Maj."),
                                        QT_TRANSLATE_NOOP("TFormMusicProperty", "F-Maj."),
                                        QT_TRANSLATE_NOOP("TFormMusicProperty", "Gb-Maj. "),
                                        QT_TRANSLATE_NOOP("TFormMusicProperty", "G-Maj."),
                                        QT_TRANSLATE_NOOP("TFormMusicProperty", "Ab-Maj. "),
                                        QT_TRANSLATE_NOOP("TFormMusicProperty", "A-Maj."),
                                        QT_TRANSLATE_NOOP("TFormMusicProperty", "Bb-Maj. "),
                                        QT_TRANSLATE_NOOP("TFormMusicProperty", "B-Maj.")};
const char* const MinorKeyLabels[12] = {QT_TRANSLATE_NOOP("TFormMusicProperty", "C-Min."),
                                        QT_TRANSLATE_NOOP("TFormMusicProperty", "Db-Min. "),
                                        QT_TRANSLATE_NOOP("TFormMusicProperty", "D-Min."),
                                        QT_TRANSLATE_NOOP("TFormMusicProperty", "Eb-Min"),
                                        QT_TRANSLATE_NOOP("TFormMusicProperty", "E-Min.  "),
                                        QT_TRANSLATE_NOOP("TFormMusicProperty", "F-Min."),
                                        QT_TRANSLATE_NOOP("TFormMusicProperty", "Gb-Min. "),
                                        QT_TRANSLATE_NOOP("TFormMusicProperty", "G-Min."),
                                        QT_TRANSLATE_NOOP("TFormMusicProperty", "Ab-Min"),
                                        QT_TRANSLATE_NOOP("TFormMusicProperty", "A-Min.  "),
                                        QT_TRANSLATE_NOOP("TFormMusicProperty", "Bb-Min"),
                                        QT_TRANSLATE_NOOP("TFormMusicProperty", "B-Min.  ")};

const char* const TrackLabels[TrackCount] = {QT_TRANSLATE_NOOP("TFormMusicProperty", "Melodia"),
                                             QT_TRANSLATE_NOOP("TFormMusicProperty", "Acomp. 1"),
                                             QT_TRANSLATE_NOOP("TFormMusicProperty", "Acomp. 2"),
                                             QT_TRANSLATE_NOOP("TFormMusicProperty", "Bajo"),
                                             QT_TRANSLATE_NOOP("TFormMusicProperty", "Bateria")};
const char* const ValueColumns[4] = {QT_TRANSLATE_NOOP("TFormMusicProperty", "Volumen"),
                                     QT_TRANSLATE_NOOP("TFormMusicProperty", "Posicion de la Toma"),
                                     QT_TRANSLATE_NOOP("TFormMusicProperty", "Reverb"),
                                     QT_TRANSLATE_NOOP("TFormMusicProperty", "Estribillo")};
// What a screen reader adds to a value column's caption, which says little by itself.
const char* const ValueColumnDescriptions[4] = {
    QT_TRANSLATE_NOOP("TFormMusicProperty", "Volumen de la parte, de 0 a 127"),
    QT_TRANSLATE_NOOP("TFormMusicProperty",
                      "Panorama: 0 a la izquierda, 64 en el centro, 127 a la derecha"),
    QT_TRANSLATE_NOOP("TFormMusicProperty", "Cantidad de reverberación, de 0 a 127"),
    QT_TRANSLATE_NOOP("TFormMusicProperty", "Cantidad de efecto de coro (chorus), de 0 a 127"),
};

// Pattern list items keep the name's bytes: the stored name must be the library's own,
// whatever encoding it came in.
constexpr int NameBytesRole = Qt::UserRole;

/// A margin of one caption height on top, so the children sit below the group's caption.
template <class TLayout> TLayout* GroupLayout(TFakeGroupBox* group)
{
    auto* layout = new TLayout(group);
    const int captionHeight = group->fontMetrics().height();
    layout->setContentsMargins(8, captionHeight + 3, 8, 6);
    layout->setSpacing(3);
    return layout;
}

TDialEdit* MakeDialEdit(QWidget* parent, const QString& name, int minValue, int maxValue, int value)
{
    auto* edit = new TDialEdit(parent);
    edit->setObjectName(name);
    edit->SetMinValue(minValue);
    edit->SetMaxValue(maxValue);
    edit->SetValue(value);
    return edit;
}

/// A list that asks for room for about minChars characters, not for its longest item; its
/// drop-down still opens wide enough for every item.
QComboBox* MakeList(QWidget* parent, const QString& name, int minChars)
{
    auto* list = new QComboBox(parent);
    list->setObjectName(name);
    list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    list->setMinimumContentsLength(minChars);
    list->setMaxVisibleItems(16);
    return list;
}

/// The preview buttons' image, a play triangle in the buttons' text colour, drawn here: the
/// style's own would read the icon theme from disk at start-up.
QIcon PlayIcon(const QColor& color, qreal ratio)
{
    constexpr int Side = 16;
    QPixmap image(QSize(Side, Side) * ratio);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    const QPointF triangle[] = {{4.5, 2.5}, {13.0, 8.0}, {4.5, 13.5}};
    painter.drawPolygon(triangle, 3);
    return QIcon(image);
}
} // namespace

QString KeyLabelText(std::uint8_t scale, int key)
{
    // The minor scale is the relative minor of the key: its tonic lies a major sixth above
    // the key's, and that is the key the song sounds in.
    const int tonic = scale == 0 ? key : key + 9;
    const int index = ((tonic % 12) + 12) % 12;
    return QCoreApplication::translate("TFormMusicProperty",
                                       scale == 0 ? MajorKeyLabels[index] : MinorKeyLabels[index]);
}

TFormMusicProperty::TFormMusicProperty(const TPropertyPageServices& services, QWidget* parent)
    : TPropertyPage(parent), FServices(services)
{
    setObjectName(QStringLiteral("FormMusicProperty"));
    CreateControls();
    FormCreate();
}

void TFormMusicProperty::CreateControls()
{
    // The page lies at (-4, -4) in the main window's page panel: 4 pixels of each edge are
    // out of sight.
    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(10, 9, 10, 8);
    page->setSpacing(5);
    auto* top = new QHBoxLayout;
    top->setSpacing(8);
    page->addLayout(top);
    top->addLayout(CreateOptionColumn());
    top->addLayout(CreateKeyTempoColumn());
    top->addWidget(CreatePatternGroup(), 1);
    page->addWidget(CreateTrackGroup());
    page->addStretch(1);
    FillInstrumentLists();
    ConnectHandlers();
}

QLayout* TFormMusicProperty::CreateOptionColumn()
{
    // Options, scale and the random setting.
    auto* left = new QVBoxLayout;
    left->setSpacing(5);
    GroupBoxOption = new TFakeGroupBox(tr("Option"), this);
    GroupBoxOption->setObjectName(QStringLiteral("GroupBoxOption"));
    auto* options = GroupLayout<QVBoxLayout>(GroupBoxOption);
    options->setSpacing(0);
    CheckBox1 = new QCheckBox(tr("Usar Acordes de 7th"), GroupBoxOption);
    CheckBox2 = new QCheckBox(tr("Usar Atrapar Bateria"), GroupBoxOption);
    CheckBox3 = new QCheckBox(tr("Melodia de 1 Octava Arriba"), GroupBoxOption);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox2->setObjectName(QStringLiteral("CheckBox2"));
    CheckBox3->setObjectName(QStringLiteral("CheckBox3"));
    for (QCheckBox* box : {CheckBox1, CheckBox2, CheckBox3})
        options->addWidget(box);
    left->addWidget(GroupBoxOption);

    GroupBoxScale = new TFakeGroupBox(tr("Escala"), this);
    GroupBoxScale->setObjectName(QStringLiteral("GroupBoxScale"));
    auto* scale = GroupLayout<QHBoxLayout>(GroupBoxScale);
    RadioButton1 = new QRadioButton(tr("Mayor"), GroupBoxScale);
    RadioButton2 = new QRadioButton(tr("Menor"), GroupBoxScale);
    RadioButton1->setObjectName(QStringLiteral("RadioButton1"));
    RadioButton2->setObjectName(QStringLiteral("RadioButton2"));
    RadioButton1->setChecked(true);
    scale->addWidget(RadioButton1);
    scale->addWidget(RadioButton2);
    scale->addStretch(1);
    left->addWidget(GroupBoxScale);
    left->addStretch(1);
    ButtonRandomSet = new QPushButton(tr("Composicion Aleatoria"), this);
    ButtonRandomSet->setObjectName(QStringLiteral("ButtonRandomSet"));
    left->addWidget(ButtonRandomSet);
    return left;
}

QLayout* TFormMusicProperty::CreateKeyTempoColumn()
{
    auto* middle = new QVBoxLayout;
    middle->setSpacing(5);
    GroupBoxKey = new TFakeGroupBox(tr("Tecla"), this);
    GroupBoxKey->setObjectName(QStringLiteral("GroupBoxKey"));
    auto* key = GroupLayout<QVBoxLayout>(GroupBoxKey);
    DialEditK = MakeDialEdit(GroupBoxKey, QStringLiteral("DialEditK"), -12, 12, 0);
    DialEditK->SetAccessibleLabel(tr("Tecla"),
                                  tr("Transposición de la canción en semitonos, de -12 a 12"));
    LabelScale = new QLabel(tr("C-May."), GroupBoxKey);
    LabelScale->setObjectName(QStringLiteral("LabelScale"));
    key->addWidget(DialEditK);
    key->addWidget(LabelScale);
    middle->addWidget(GroupBoxKey);
    GroupBoxTempo = new TFakeGroupBox(tr("Tiempo"), this);
    GroupBoxTempo->setObjectName(QStringLiteral("GroupBoxTempo"));
    auto* tempo = GroupLayout<QVBoxLayout>(GroupBoxTempo);
    DialEditT = MakeDialEdit(GroupBoxTempo, QStringLiteral("DialEditT"), 10, 250, 120);
    DialEditT->SetAccessibleLabel(tr("Tiempo"), tr("Tempo en negras por minuto, de 10 a 250"));
    tempo->addWidget(DialEditT);
    middle->addWidget(GroupBoxTempo);
    middle->addStretch(1);
    return middle;
}

QWidget* TFormMusicProperty::CreatePatternGroup()
{
    // The accompaniment patterns, each with its preview.
    GroupBoxPattern = new TFakeGroupBox(tr("Ordenar Partitura"), this);
    GroupBoxPattern->setObjectName(QStringLiteral("GroupBoxPattern"));
    auto* patterns = GroupLayout<QGridLayout>(GroupBoxPattern);
    patterns->setHorizontalSpacing(6);
    const QIcon play = PlayIcon(palette().color(QPalette::ButtonText), devicePixelRatioF());
    for (int slot = 0; slot < PatternSlotCount; ++slot)
    {
        auto* label = new QLabel(tr(TrackLabels[slot + 1]), GroupBoxPattern);
        QComboBox* list =
            MakeList(GroupBoxPattern, QStringLiteral("ComboBoxA%1").arg(slot + 1), 16);
        auto* button = new QToolButton(GroupBoxPattern);
        button->setObjectName(QStringLiteral("BitBtn%1").arg(slot + 1));
        button->setIcon(play);
        button->setToolTip(tr("Escuchar %1").arg(label->text()));
        button->setAccessibleName(button->toolTip());
        button->setFixedHeight(list->sizeHint().height());
        label->setBuddy(list);
        list->setAccessibleName(label->text());
        patterns->addWidget(label, slot, 0);
        patterns->addWidget(list, slot, 1);
        patterns->addWidget(button, slot, 2);
        ComboBoxA[static_cast<std::size_t>(slot)] = list;
        BitBtn[static_cast<std::size_t>(slot)] = button;
    }
    patterns->setColumnStretch(1, 1);
    return GroupBoxPattern;
}

QWidget* TFormMusicProperty::CreateTrackGroup()
{
    // Instrument, volume, pan, reverb and chorus of each track.
    GroupBoxTracks = new TFakeGroupBox(tr("Destino de la Creacion"), this);
    GroupBoxTracks->setObjectName(QStringLiteral("GroupBoxTracks"));
    auto* tracks = GroupLayout<QGridLayout>(GroupBoxTracks);
    tracks->setHorizontalSpacing(6);
    tracks->setVerticalSpacing(1);
    // The value columns are as narrow as a three-digit dial edit, so that the instrument
    // lists get the room their names need.
    constexpr int DialWidth = 62;
    for (int column = 0; column < 5; ++column)
    {
        auto* header = new QLabel(column == 0 ? tr("Instrumento") : tr(ValueColumns[column - 1]),
                                  GroupBoxTracks);
        header->setAlignment(column == 0 ? Qt::AlignLeft | Qt::AlignBottom
                                         : Qt::AlignHCenter | Qt::AlignBottom);
        tracks->addWidget(header, 0, column + 1);
    }
    for (int track = 0; track < TrackCount; ++track)
    {
        const auto t = static_cast<std::size_t>(track);
        const int row = track + 1;
        tracks->addWidget(new QLabel(tr(TrackLabels[track]), GroupBoxTracks), row, 0);
        ComboBox10x[t] =
            MakeList(GroupBoxTracks, QStringLiteral("ComboBox10%1").arg(track + 1), 18);
        const QString trackLabel = tr(TrackLabels[track]);
        ComboBox10x[t]->setAccessibleName(tr("Instrumento de ") + trackLabel);
        tracks->addWidget(ComboBox10x[t], row, 1);
        const std::array<std::array<TDialEdit*, TrackCount>*, 4> columns = {
            &DialEdit10x, &DialEdit20x, &DialEdit30x, &DialEdit40x};
        const int initial[4] = {100, 64, 40, 0};
        for (int column = 0; column < 4; ++column)
        {
            TDialEdit* edit = MakeDialEdit(
                GroupBoxTracks, QStringLiteral("DialEdit%1").arg((column + 1) * 100 + track + 1), 0,
                127, initial[column]);
            edit->setFixedWidth(DialWidth);
            edit->SetAccessibleLabel(tr(ValueColumns[column]) + QStringLiteral(", ") + trackLabel,
                                     tr(ValueColumnDescriptions[column]));
            (*columns[static_cast<std::size_t>(column)])[t] = edit;
            tracks->addWidget(edit, row, column + 2, Qt::AlignHCenter);
        }
    }
    tracks->setColumnStretch(1, 1);
    return GroupBoxTracks;
}

void TFormMusicProperty::FillInstrumentLists()
{
    QStringList instruments;
    for (const char* name : GmInstrumentNames)
        instruments << CoreText(name);
    QStringList drums;
    for (const char* name : DrumSetNames)
        drums << QString::fromLatin1(name);
    for (int track = 0; track < TrackCount; ++track)
        ComboBox10x[static_cast<std::size_t>(track)]->addItems(track == DrumTrack ? drums
                                                                                  : instruments);
    // The melodic lists are alike: their popups are measured once, on the melody's.
    WidenPopup(ComboBox10x[DrumTrack]);
    const int melodicWidth = WidenPopup(ComboBox10x[0]);
    for (int track = 1; track < TrackCount; ++track)
        if (track != DrumTrack)
            ComboBox10x[static_cast<std::size_t>(track)]->view()->setMinimumWidth(melodicWidth);
}

void TFormMusicProperty::ConnectHandlers()
{
    // Each column shares one handler, which finds its track or slot by the tag. Each change
    // is one undo step; the quick changes of one dial or list make one step.
    const auto step =
        [this](const QString& name, const QObject* control, const std::function<void()>& handler)
    {
        return [this, name, control, handler]
        {
            if (Editing())
                RunEdit(name, control, handler);
            else
                handler();
        };
    };
    connect(ButtonRandomSet, &QPushButton::clicked, this,
            step(tr("Composición Aleatoria"), nullptr, [this] { ButtonRandomSetClick(); }));
    connect(CheckBox1, &QCheckBox::toggled, this,
            step(tr("Usar Acordes de 7.ª"), nullptr, [this] { CheckBox1Click(); }));
    connect(CheckBox2, &QCheckBox::toggled, this,
            step(tr("Usar Atrapar Batería"), nullptr, [this] { CheckBox2Click(); }));
    connect(CheckBox3, &QCheckBox::toggled, this,
            step(tr("Melodía de 1 Octava Arriba"), nullptr, [this] { CheckBox3Click(); }));
    const auto major = step(tr("Escala"), nullptr, [this] { RadioButton1Click(); });
    const auto minor = step(tr("Escala"), nullptr, [this] { RadioButton2Click(); });
    connect(RadioButton1, &QRadioButton::toggled, this,
            [major](bool on)
            {
                if (on)
                    major();
            });
    connect(RadioButton2, &QRadioButton::toggled, this,
            [minor](bool on)
            {
                if (on)
                    minor();
            });
    connect(DialEditK, &TDialEdit::Change, this,
            step(tr("Tonalidad"), DialEditK, [this] { DialEditKChange(); }));
    connect(DialEditT, &TDialEdit::Change, this,
            step(tr("Tempo"), DialEditT, [this] { DialEditTChange(); }));
    for (int slot = 0; slot < PatternSlotCount; ++slot)
    {
        const auto s = static_cast<std::size_t>(slot);
        connect(ComboBoxA[s], &QComboBox::currentIndexChanged, this,
                step(tr("Patrón"), ComboBoxA[s], [this, slot] { ComboBoxA1Change(slot); }));
        connect(BitBtn[s], &QToolButton::clicked, this, [this, slot] { BitBtn1Click(slot + 1); });
        connect(ComboBoxA[s], &QComboBox::currentIndexChanged, this,
                [this, slot] { UpdatePreviewButton(slot); });
        UpdatePreviewButton(slot);
    }
    for (int track = 0; track < TrackCount; ++track)
    {
        const auto t = static_cast<std::size_t>(track);
        connect(
            ComboBox10x[t], &QComboBox::currentIndexChanged, this,
            step(tr("Instrumento"), ComboBox10x[t], [this, track] { ComboBox101Change(track); }));
        connect(DialEdit10x[t], &TDialEdit::Change, this,
                step(tr("Volumen"), DialEdit10x[t], [this, track] { DialEdit101Change(track); }));
        connect(DialEdit20x[t], &TDialEdit::Change, this,
                step(tr("Panorama"), DialEdit20x[t], [this, track] { DialEdit201Change(track); }));
        connect(
            DialEdit30x[t], &TDialEdit::Change, this,
            step(tr("Reverberación"), DialEdit30x[t], [this, track] { DialEdit301Change(track); }));
        connect(DialEdit40x[t], &TDialEdit::Change, this,
                step(tr("Coro"), DialEdit40x[t], [this, track] { DialEdit401Change(track); }));
    }
}

void TFormMusicProperty::FormCreate()
{
    FillPatternLists();
}

void TFormMusicProperty::ReloadPatternLists()
{
    {
        // Refilling a list changes its choice, which must not reach the property set.
        const QScopedValueRollback<bool> loading(FLoading, true);
        for (QComboBox* list : ComboBoxA)
            list->clear();
        FillPatternLists();
    }
    SetMuprop(FMuprop);
}

void TFormMusicProperty::FillPatternLists()
{
    const TPatternChoices choices = LibraryPatternChoices();
    for (std::size_t slot = 0; slot < choices.size(); ++slot)
    {
        QComboBox* list = ComboBoxA[slot];
        for (const std::string& name : choices[slot])
            list->addItem(DisplayName(name), QByteArray::fromStdString(name));
        if (list->count() > 0)
            list->setCurrentIndex(0);
        WidenPopup(list);
    }
}

void TFormMusicProperty::SetMuprop(TMuprop* muprop)
{
    FMuprop = muprop;
    setEnabled(muprop != nullptr);
    if (muprop == nullptr)
        return;

    // Setting a control fires its handler; while loading, the handlers write nothing, so a
    // value the control cannot show (a stored name no library holds, a volume above 127)
    // stays as it is in the song.
    const QScopedValueRollback<bool> loading(FLoading, true);

    for (int track = 0; track < TrackCount; ++track)
    {
        const auto t = static_cast<std::size_t>(track);
        const TTrackSetting& setting = muprop->GetTrack(track);
        QComboBox* list = ComboBox10x[t];
        list->setCurrentIndex(setting.Instrument >= 0 && setting.Instrument < list->count()
                                  ? setting.Instrument
                                  : -1);
        DialEdit10x[t]->SetValue(setting.Volume);
        DialEdit20x[t]->SetValue(setting.Pan);
        DialEdit30x[t]->SetValue(setting.Reverb);
        DialEdit40x[t]->SetValue(setting.Chorus);
    }
    for (int slot = 0; slot < PatternSlotCount; ++slot)
    {
        QComboBox* list = ComboBoxA[static_cast<std::size_t>(slot)];
        const std::string& name = muprop->GetPatternName(slot);
        int found = -1;
        for (int i = 0; i < list->count() && found < 0; ++i)
            if (SameTextIgnoringCase(PatternNameAt(slot, i), name))
                found = i;
        list->setCurrentIndex(found);
    }
    DialEditK->SetValue(muprop->Key);
    (muprop->Scale != 0 ? RadioButton2 : RadioButton1)->setChecked(true);
    DialEditT->SetValue(muprop->Tempo);
    CheckBox1->setChecked(muprop->Use7th != 0);
    CheckBox2->setChecked(muprop->AltSnare != 0);
    CheckBox3->setChecked(muprop->OctaveUp != 0);
    UpdateKeyLabel();
}

std::string TFormMusicProperty::PatternNameAt(int slot, int index) const
{
    return ComboBoxA[static_cast<std::size_t>(slot)]
        ->itemData(index, NameBytesRole)
        .toByteArray()
        .toStdString();
}

void TFormMusicProperty::UpdateKeyLabel()
{
    if (FMuprop != nullptr)
        LabelScale->setText(KeyLabelText(FMuprop->Scale, FMuprop->Key));
}
