#include "PlaceholderPages.h"

#include "model/Munit.h"
#include "model/Muprop.h"

#include <QFontDatabase>
#include <QLabel>
#include <QVBoxLayout>

namespace
{
const char* const KeyNames[12] = {"C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B"};
const char* const TrackNames[TrackCount] = {"Melodia", "Acomp. 1", "Acomp. 2", "Bajo", "Bateria"};
const char* const Degrees[7] = {"-", "I", "II", "III", "IV", "V", "VI"};

QLabel* MakeText(QWidget* page)
{
    auto* layout = new QVBoxLayout(page);
    // The page sits at (-4, -4) so that its border falls outside the visible area.
    layout->setContentsMargins(14, 14, 10, 10);
    auto* text = new QLabel(page);
    text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    text->setTextFormat(Qt::RichText);
    layout->addWidget(text);
    return text;
}
} // namespace

TPlaceholderPropertyPage::TPlaceholderPropertyPage(QWidget* parent)
    : TPropertyPage(parent), FText(MakeText(this))
{
}

void TPlaceholderPropertyPage::SetMuprop(TMuprop* muprop)
{
    FMuprop = muprop;
    if (muprop == nullptr)
    {
        FText->clear();
        return;
    }
    const auto yesNo = [](std::uint8_t flag)
    { return flag != 0 ? QStringLiteral("si") : QStringLiteral("no"); };
    QString html = QStringLiteral("<p><b>Tonalidad:</b> %1 %2 &nbsp; <b>Tempo:</b> %3</p>")
                       .arg(QString::fromLatin1(KeyNames[((muprop->Key % 12) + 12) % 12]),
                            muprop->Scale != 0 ? QStringLiteral("menor") : QStringLiteral("mayor"))
                       .arg(muprop->Tempo);
    html += QStringLiteral("<p><b>Septimas:</b> %1 &nbsp; <b>Caja alternativa:</b> %2 &nbsp; "
                           "<b>Octava arriba:</b> %3</p>")
                .arg(yesNo(muprop->Use7th), yesNo(muprop->AltSnare), yesNo(muprop->OctaveUp));
    html += QStringLiteral("<table cellspacing=\"0\" cellpadding=\"3\"><tr><th align=\"left\">Pista"
                           "</th><th>Instrumento</th><th>Volumen</th><th>Panorama</th>"
                           "<th>Reverb</th><th>Coro</th><th align=\"left\">Patron</th></tr>");
    for (int t = 0; t < TrackCount; ++t)
    {
        const TTrackSetting& track = muprop->GetTrack(t);
        html +=
            QStringLiteral("<tr><td>%1</td><td align=\"center\">%2</td><td align=\"center\">%3"
                           "</td><td align=\"center\">%4</td><td align=\"center\">%5</td>"
                           "<td align=\"center\">%6</td><td>%7</td></tr>")
                .arg(QString::fromLatin1(TrackNames[t]))
                .arg(track.Instrument)
                .arg(track.Volume)
                .arg(track.Pan)
                .arg(track.Reverb)
                .arg(track.Chorus)
                .arg(t > 0 ? QString::fromStdString(muprop->GetPatternName(t - 1)).toHtmlEscaped()
                           : QString());
    }
    html += QStringLiteral("</table>");
    FText->setText(html);
}

TPlaceholderUnitPage::TPlaceholderUnitPage(QWidget* parent)
    : TUnitPage(parent), FText(MakeText(this))
{
    FText->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    FText->setTextFormat(Qt::PlainText);
}

void TPlaceholderUnitPage::ShowUnit(TMunit* unit)
{
    FUnit = unit;
    if (unit == nullptr)
    {
        FText->clear();
        return;
    }
    QString text;
    for (int bar = 0; bar < unit->BarCount; ++bar)
    {
        text += QStringLiteral("Compas %1%2\n  Acordes: ")
                    .arg(bar + 1)
                    .arg(unit->GetLock(bar) != 0 ? QStringLiteral("  (bloqueado)") : QString());
        for (int beat = 0; beat < unit->BeatsPerBar; ++beat)
        {
            const int degree = unit->GetChord(bar, beat);
            text += QString::fromLatin1(degree >= 0 && degree <= 6 ? Degrees[degree] : "?")
                        .leftJustified(5);
        }
        text += QStringLiteral("\n  Ritmo:   ");
        for (int step = 0; step < unit->StepsPerBar(); ++step)
            text += QLatin1Char(unit->GetRhythm(bar, step));
        text += QStringLiteral("\n  Melodia: ");
        for (int step = 0; step < unit->StepsPerBar(); ++step)
            text += QString::number(unit->GetMelody(bar, step)) + QLatin1Char(' ');
        text += QLatin1Char('\n');
    }
    FText->setText(text);
}
