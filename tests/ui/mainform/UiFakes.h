#pragma once

#include "MainFormParts.h"
#include "MainFormTestAccess.h"
#include "audio/AbstractMediaPlayer.h"
#include "ui/FileDialogs.h"
#include "ui/MessageBoxes.h"
#include "ui/UnitClipboard.h"
#include "ui/mainform/LyravaneMainForm.h"
#include "ui/mainform/MainFormServices.h"

#include <QTemporaryDir>

#include <array>
#include <deque>
#include <memory>
#include <string>
#include <vector>

/// Answers message boxes from a queue (Ok/Cancel-less answers when empty) and records them.
class TFakeMessageBoxes : public TMessageBoxes
{
public:
    struct TShown
    {
        QString Text;
        TMsgIcon Icon;
        TMsgButtons Buttons;
        QString Details;
    };
    std::deque<TMsgResult> Answers;
    std::vector<TShown> Shown;

    TMsgResult Show(QWidget* owner, const QString& text, TMsgIcon icon,
                    TMsgButtons buttons) override;
    TMsgResult ShowDetailed(QWidget* owner, const QString& text, const QString& details,
                            TMsgIcon icon, TMsgButtons buttons) override;
};

/// Chooses files from a queue (nothing: cancel) and records each request.
class TFakeFileDialogs : public TFileDialogRunner
{
public:
    std::deque<std::optional<QString>> Answers;
    /// The check box's state each chosen file leaves (nothing queued: as it was).
    std::deque<bool> CheckAnswers;
    std::vector<TFileDialogRequest> Requests;

    std::optional<QString> Run(QWidget* owner, TFileDialogRequest& request) override;
};

class TFakeClipboard : public TUnitClipboard
{
public:
    std::optional<QByteArray> Data;

    bool HasUnit() const override { return Data.has_value(); }
    void SetUnit(const QByteArray& record) override { Data = record; }
    std::optional<QByteArray> GetUnit() const override { return Data; }
};

/// Records the player's operations ("Close", "SetFileName:...", "Open", "Play").
class TFakePlayer : public TAbstractMediaPlayer
{
public:
    std::vector<std::string> Calls;
    std::string FileName;
    /// A copy of the file as it was when Open ran.
    std::string OpenedBytes;
    bool FailOpen = false;
    /// Set by Play, cleared by Close; a test clears it to end a play.
    bool IsPlaying = false;

    void Close() override
    {
        Calls.emplace_back("Close");
        IsPlaying = false;
    }
    void SetFileName(const std::string& fileName) override;
    void Open() override;
    void Play() override
    {
        Calls.emplace_back("Play");
        IsPlaying = true;
    }
    bool Playing() const override { return IsPlaying; }
    /// Records "PlayLoop:from-to" and plays.
    void PlayLoop(std::int32_t fromTick, std::int32_t toTick) override;
    /// Records "QueueLoopPass" and a copy of the file as it is then.
    void QueueLoopPass() override;
    std::string QueuedBytes;
    /// The clicks asked for the next play, the channels muted, the controls sent.
    TClicks Clicks;
    std::uint16_t Muted = 0;
    std::vector<std::array<int, 3>> Controls;
    void SetClicks(TClicks clicks) override { Clicks = clicks; }
    void SetMutedChannels(std::uint16_t mask) override { Muted = mask; }
    void SendControl(int channel, int controller, int value) override
    {
        Controls.push_back({channel, controller, value});
    }
    /// Where a test says the play is; Playing follows IsPlaying.
    TPlayPosition At;
    TPlayPosition Position() const override
    {
        TPlayPosition position = At;
        position.Playing = IsPlaying;
        return position;
    }
};

/// A main window over fakes, with its settings and files in a temporary directory.
class TFormFixture
{
public:
    TFormFixture();

    QTemporaryDir Dir;
    TFakeMessageBoxes MessageBoxes;
    TFakeFileDialogs FileDialogs;
    TFakeClipboard Clipboard;
    TFakePlayer Player;
    TMainFormServices Services;

    /// Makes (or remakes) the window; the old one is destroyed first (it writes its settings).
    TLyravaneMainForm& Create(QStringList arguments = {});
    /// The same with the command line's bytes as they are.
    TLyravaneMainForm& CreateRaw(std::vector<std::string> arguments);
    void Destroy() { Form.reset(); }
    TLyravaneMainForm& form() { return *Form; }

    QString Path(const QString& name) const { return Dir.filePath(name); }
    /// Writes a project file of a new song with the given number of entries (at least 2).
    QString WriteSong(const QString& name, int entries) const;
    /// Writes bytes to a file in the directory.
    QString WriteBytes(const QString& name, const QByteArray& bytes) const;
    std::vector<std::string> TabTexts() const;

    std::unique_ptr<TLyravaneMainForm> Form;
};
