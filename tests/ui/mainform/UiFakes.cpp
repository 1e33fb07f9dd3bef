#include "UiFakes.h"

#include "PlaceholderPages.h"
#include "base/FileIO.h"
#include "model/Munit.h"
#include "model/MusicProject.h"

#include <QFile>
#include <QTabBar>

#include <stdexcept>

TMsgResult TFakeMessageBoxes::Show(QWidget* owner, const QString& text, TMsgIcon icon,
                                   TMsgButtons buttons)
{
    return ShowDetailed(owner, text, QString(), icon, buttons);
}

TMsgResult TFakeMessageBoxes::ShowDetailed(QWidget*, const QString& text, const QString& details,
                                           TMsgIcon icon, TMsgButtons buttons)
{
    Shown.push_back({text, icon, buttons, details});
    if (!Answers.empty())
    {
        const TMsgResult answer = Answers.front();
        Answers.pop_front();
        return answer;
    }
    return buttons == TMsgButtons::Ok ? TMsgResult::Ok : TMsgResult::Cancel;
}

std::optional<QString> TFakeFileDialogs::Run(QWidget*, TFileDialogRequest& request)
{
    Requests.push_back(request);
    if (Answers.empty())
        return std::nullopt;
    // Moved out through a plain QString: GCC 12 at -O2 warns about copying an optional
    // QString here ("may be used uninitialized"), a false alarm.
    const bool given = Answers.front().has_value();
    QString answer = given ? *Answers.front() : QString();
    Answers.pop_front();
    if (!given)
        return std::nullopt;
    if (!CheckAnswers.empty())
    {
        request.Checked = CheckAnswers.front();
        CheckAnswers.pop_front();
    }
    return answer;
}

void TFakePlayer::SetFileName(const std::string& fileName)
{
    FileName = fileName;
    Calls.push_back("SetFileName:" + fileName);
}

void TFakePlayer::Open()
{
    Calls.emplace_back("Open");
    if (FailOpen)
        throw std::runtime_error("No hay salida de sonido");
    OpenedBytes = ReadWholeFile(FileName);
}

void TFakePlayer::PlayLoop(std::int32_t fromTick, std::int32_t toTick)
{
    Calls.push_back("PlayLoop:" + std::to_string(fromTick) + "-" + std::to_string(toTick));
    IsPlaying = true;
}

void TFakePlayer::QueueLoopPass()
{
    Calls.emplace_back("QueueLoopPass");
    QueuedBytes = ReadWholeFile(FileName);
}

TFormFixture::TFormFixture()
{
    Services.MessageBoxes = &MessageBoxes;
    Services.FileDialogs = &FileDialogs;
    Services.Clipboard = &Clipboard;
    Services.Player = &Player;
    Services.TempMidiFile = Dir.filePath(QStringLiteral("$$$.mid")).toStdString();
    Services.HelpFile = QStringLiteral(LYRAVANE_SOURCE_DIR "/docs/help/lyravane.html");
    Services.SettingsPath = Dir.filePath(QStringLiteral("settings.ini"));
    Services.RecoveryDir = Dir.filePath(QStringLiteral("recovery"));
    Services.UserPatternDir = Dir.filePath(QStringLiteral("data/PATTERN"));
    // The window's commands are tested over pages that only show what they are given; the
    // real pages have tests of their own.
    Services.CreatePropertyPage = [](QWidget* parent)
    { return new TPlaceholderPropertyPage(parent); };
    Services.CreateUnitPage = [](QWidget* parent) { return new TPlaceholderUnitPage(parent); };
}

TLyravaneMainForm& TFormFixture::Create(QStringList arguments)
{
    std::vector<std::string> bytes;
    for (const QString& argument : arguments)
        bytes.push_back(QFile::encodeName(argument).toStdString());
    return CreateRaw(std::move(bytes));
}

TLyravaneMainForm& TFormFixture::CreateRaw(std::vector<std::string> arguments)
{
    Form.reset();
    Form = std::make_unique<TLyravaneMainForm>(Services, std::move(arguments));
    return *Form;
}

QString TFormFixture::WriteSong(const QString& name, int entries) const
{
    TMusicProject song;
    song.NewSong();
    while (song.Count() < entries)
        song.Items.Add(std::make_unique<TMunit>());
    const QString path = Path(name);
    song.SaveToFile(path.toStdString());
    return path;
}

QString TFormFixture::WriteBytes(const QString& name, const QByteArray& bytes) const
{
    const QString path = Path(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
    return path;
}

std::vector<std::string> TFormFixture::TabTexts() const
{
    std::vector<std::string> texts;
    for (int i = 0; i < Form->TabControl1->count(); ++i)
        texts.push_back(Form->TabControl1->tabText(i).toStdString());
    return texts;
}
