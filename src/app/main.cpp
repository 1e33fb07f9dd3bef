// The desktop program: one copy per user, the pattern libraries, the main window.
//
// Developer aids, read from the environment:
//   LYRAVANE_STARTUP_TIMING=1   prints, once the main window has been shown and painted, the
//                               time since main() and the wall-clock time in nanoseconds
//                               (to compare with a time taken before the process started).
//   LYRAVANE_SCREENSHOT=FILE    saves a picture of the main window to FILE once it has been
//                               shown, and ends the program.
//   LYRAVANE_SCREENSHOT_TAB=N   with LYRAVANE_SCREENSHOT: selects tab N before the picture.
//   LYRAVANE_SCREENSHOT_PLAY=MS with LYRAVANE_SCREENSHOT: runs "Reproducir partitura" and
//                               takes the picture MS milliseconds later (the play cursor).
//   LYRAVANE_SCREENSHOT_PLAY_ACTION=NAME with LYRAVANE_SCREENSHOT_PLAY: plays with the action
//                               NAME instead ("Action_MusicPlay": the whole song).
//   LYRAVANE_SCREENSHOT_ACTION=NAME with LYRAVANE_SCREENSHOT: triggers the action NAME
//                               ("Action_FileRevert") and pictures the question or dialog it
//                               opens instead of the window.

#include "app/AppUtils.h"
#include "app/LyravaneApplication.h"
#include "audio/MediaPlayer.h"
#include "audio/Synthesizer.h"
#include "base/Exceptions.h"
#include "base/TempDir.h"
#include "midi/ArrangeList.h"
#include "ui/FileDialogs.h"
#include "ui/FormAddPattern.h"
#include "ui/MessageBoxes.h"
#include "ui/Settings.h"
#include "ui/SingleInstance.h"
#include "ui/Translations.h"
#include "ui/UnitClipboard.h"
#include "ui/WindowUtils.h"
#include "ui/mainform/LyravaneMainForm.h"

#include <QAction>
#include <QFont>
#include <QIcon>
#include <QLocale>
#include <QScreen>
#include <QTabBar>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <unistd.h>

namespace
{
using TClock = std::chrono::steady_clock;

/// With LYRAVANE_STARTUP_TIMING set, prints how long start-up took up to a named step.
void Stamp(const char* step, TClock::time_point mainEntered)
{
    static const bool timing = qEnvironmentVariableIntValue("LYRAVANE_STARTUP_TIMING") != 0;
    if (timing)
        std::fprintf(
            stderr, "lyravane: %-24s %6.1f ms after main()\n", step,
            std::chrono::duration<double, std::milli>(TClock::now() - mainEntered).count());
}

void RunDeveloperAids(TLyravaneMainForm& form, TClock::time_point mainEntered,
                      const std::function<bool()>& soundFontLoaded)
{
    const bool timing = qEnvironmentVariableIntValue("LYRAVANE_STARTUP_TIMING") != 0;
    const QString screenshot = qEnvironmentVariable("LYRAVANE_SCREENSHOT");
    if ((!timing && screenshot.isEmpty()) || form.windowHandle() == nullptr)
        return;
    WhenOnScreen(
        &form,
        [&form, timing, screenshot, mainEntered, soundFontLoaded]
        {
            if (timing)
            {
                const auto sinceMain =
                    std::chrono::duration<double, std::milli>(TClock::now() - mainEntered);
                const auto wall = std::chrono::duration_cast<std::chrono::nanoseconds>(
                    std::chrono::system_clock::now().time_since_epoch());
                std::fprintf(stderr,
                             "lyravane: window shown %.1f ms after main(); wall %lld ns; "
                             "SoundFont %s\n",
                             sinceMain.count(), static_cast<long long>(wall.count()),
                             soundFontLoaded() ? "loaded" : "still loading");
            }
            if (screenshot.isEmpty())
                return;
            bool hasTab = false;
            const int tab = qEnvironmentVariableIntValue("LYRAVANE_SCREENSHOT_TAB", &hasTab);
            if (hasTab && tab >= 0 && tab < form.TabControl1->count())
                form.TabControl1->setCurrentIndex(tab);
            bool playing = false;
            const int playMs = qEnvironmentVariableIntValue("LYRAVANE_SCREENSHOT_PLAY", &playing);
            constexpr int SettleMs = 300;
            // Once the tab's commands are enabled.
            QString playCommand = qEnvironmentVariable("LYRAVANE_SCREENSHOT_PLAY_ACTION");
            if (playCommand.isEmpty())
                playCommand = QStringLiteral("Action_MusicPlay2");
            if (playing)
                if (auto* play = form.findChild<QAction*>(playCommand))
                    QTimer::singleShot(SettleMs, play, &QAction::trigger);
            // A command whose question or dialog is to be pictured instead of the window.
            const QString command = qEnvironmentVariable("LYRAVANE_SCREENSHOT_ACTION");
            if (auto* action = command.isEmpty() ? nullptr : form.findChild<QAction*>(command))
                QTimer::singleShot(SettleMs, action, &QAction::trigger);
            // Give the pages a moment to settle (and the play its time), then picture the
            // whole window.
            QTimer::singleShot(
                SettleMs * (command.isEmpty() ? 1 : 2) + (playing ? std::max(playMs, 0) : 0), &form,
                [&form, screenshot, command]
                {
                    // The question, dialog or window the command opened, else the window.
                    QWidget* shown = QApplication::activeModalWidget();
                    if (shown == nullptr && !command.isEmpty())
                        shown = QApplication::activeWindow();
                    (shown != nullptr ? shown : &form)->grab().save(screenshot);
                    // Ends the dialog's loop too.
                    QApplication::exit(0);
                });
        });
}

/// The size of the window and its dialogs ("Window/Scale") as Qt's scale factor for the whole
/// program, unless the user has set a factor for Qt; returns the percent in force.
int ApplyWindowScale()
{
    // Lowered to fit the screen by the start before this one.
    if (const int lowered = qEnvironmentVariableIntValue("LYRAVANE_WINDOW_SCALE"); lowered > 0)
        return lowered;
    if (qEnvironmentVariableIsSet("QT_SCALE_FACTOR"))
        return 100;
    const int percent = ReadWindowScale(QString());
    if (percent != 100)
        qputenv("QT_SCALE_FACTOR", QByteArray::number(percent / 100.0));
    return percent;
}

/// A scale at which the window would not fit the screen's work area is lowered to the largest
/// that fits: the program starts afresh with it, before it has done anything else.
void KeepScaleOnScreen(int percent, const std::vector<std::string>& arguments)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (percent == 100 || screen == nullptr || qEnvironmentVariableIsSet("LYRAVANE_WINDOW_SCALE"))
        return;
    const QSize area = screen->availableGeometry().size() * percent / 100;
    const int fitting = FittingWindowScale(
        percent, QSize(TLyravaneMainForm::OuterWidth, TLyravaneMainForm::OuterHeight), area);
    if (fitting == percent)
        return;
    std::fprintf(stderr, "lyravane: the window at %d %% does not fit the screen; %d %% instead\n",
                 percent, fitting);
    qputenv("LYRAVANE_WINDOW_SCALE", QByteArray::number(fitting));
    if (fitting == 100)
        qunsetenv("QT_SCALE_FACTOR");
    else
        qputenv("QT_SCALE_FACTOR", QByteArray::number(fitting / 100.0));
    std::vector<char*> argv;
    argv.reserve(arguments.size() + 1);
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    ::execv("/proc/self/exe", argv.data());
    // Could not start afresh: this copy goes on at the scale it has.
}

/// The window's language (the setting's, else the system's) and the system's UI font at 9
/// points.
void SetLook()
{
    InstallTranslations(ChosenLanguage(ReadLanguageSetting(QString()), QLocale::system()));
    QFont font = QApplication::font();
    font.setPointSize(9);
    QApplication::setFont(font);
}

/// The program's icon, for every window.
void SetIcon()
{
    QIcon icon;
    icon.addFile(QStringLiteral(":/lyravane/lyravane-64.png"));
    icon.addFile(QStringLiteral(":/lyravane/lyravane-128.png"));
    QApplication::setWindowIcon(icon);
}

/// The shipped pattern library, then the user's additions beside it and in their data
/// folder; false, after "B01" has said why, when they cannot be read.
bool LoadLibraries(const std::string& programDir, TQtMessageBoxes& messageBoxes)
{
    try
    {
        LoadPatternLibraries(FindPatternDir(programDir), ToFsPath(DefaultUserPatternDir()));
        return true;
    }
    catch (const std::exception& error)
    {
        std::fprintf(stderr, "lyravane: B01: %s\n", MessageWithCause(error).c_str());
        SetIcon();
        messageBoxes.ShowDetailed(nullptr,
                                  QCoreApplication::translate("TLyravaneApplication", "B01"),
                                  ErrorDetails(error, true), TMsgIcon::None, TMsgButtons::Ok);
        return false;
    }
}

/// Shows the main window and runs the program until it closes; returns the exit status.
int RunMainWindow(TLyravaneApplication& app, const TMainFormServices& services,
                  TSingleInstance& instance, const std::vector<std::string>& arguments,
                  TClock::time_point mainEntered)
{
    TLyravaneMainForm form(services, arguments);
    Stamp("main window created", mainEntered);
    QObject::connect(&instance, &TSingleInstance::ActivateRequested, &form,
                     [&form]
                     {
                         if (form.isMinimized())
                             form.showNormal();
                         form.raise();
                         form.activateWindow();
                     });
    form.setAttribute(Qt::WA_QuitOnClose, true);
    form.ShowWindow();
    Stamp("main window show()", mainEntered);
    // Loading FluidSynth and its SoundFont, and reading the icon's images, start once the
    // window has been painted: the loader thread's loading of FluidSynth's dozens of libraries
    // would hold up every library the window loads meanwhile (image readers, input methods).
    // A play command before then starts the loading itself and waits for it.
    WhenOnScreen(&form,
                 [&services]
                 {
                     if (services.Synth != nullptr)
                         services.Synth->StartLoading();
                     SetIcon();
                 });
    RunDeveloperAids(form, mainEntered, services.PlayerReady);
    const int result = TLyravaneApplication::exec();
    app.MessageBoxes = nullptr;
    return result;
}
} // namespace

int main(int argc, char** argv)
{
    const TClock::time_point mainEntered = TClock::now();

    const std::vector<std::string> startArguments(argv, argv + argc);
    const int scale = ApplyWindowScale();
    TLyravaneApplication app(argc, argv);
    KeepScaleOnScreen(scale, startArguments);
    SetLook();

    TQtMessageBoxes messageBoxes;
    app.MessageBoxes = &messageBoxes;
    Stamp("application", mainEntered);

    // A copy runs already: it comes to the front, and this one ends without a window.
    TSingleInstance instance;
    if (instance.NotifyRunningCopy())
        return 0;

    const std::string programDir = ProgramDir();
    if (!LoadLibraries(programDir, messageBoxes))
        return 1;
    instance.Listen();
    Stamp("pattern libraries", mainEntered);

    // The synthesiser loads on a thread of its own once the window is up (see RunMainWindow).
    TSynthOptions synthOptions;
    synthOptions.SoundFont = ToFsPath(ReadSoundFontSetting(QString()));
    TSynthesizer synth(synthOptions, false);
    const TAudioOutputSettings audio = ReadAudioOutputSettings(QString());
    TOutputOptions output;
    output.Driver = audio.Driver;
    output.FileName = audio.FileName;
    TMediaPlayer player(synth, output);
    std::unique_ptr<TTempDir> tempDir;
    try
    {
        tempDir = std::make_unique<TTempDir>();
        tempDir->RemoveWhenTerminated();
    }
    catch (const std::exception& error)
    {
        messageBoxes.Show(nullptr, ErrorText(error), TMsgIcon::Error, TMsgButtons::Ok);
        return 1;
    }

    TQtFileDialogRunner fileDialogs;
    TQtUnitClipboard clipboard;
    TMainFormServices services;
    services.MessageBoxes = &messageBoxes;
    services.FileDialogs = &fileDialogs;
    services.Clipboard = &clipboard;
    services.Player = &player;
    services.Synth = &synth;
    services.PlayerReady = [&synth] { return synth.LoadFinished(); };
    services.TempMidiFile = tempDir->TempMidiFile();
    services.HelpFile = QString::fromStdString(FindHelpFile(programDir));

    Stamp("services", mainEntered);

    // The bytes as given: QApplication::arguments() would lose those of a name that is not
    // valid UTF-8. QApplication has taken its own options out of argv by now.
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    return RunMainWindow(app, services, instance, arguments, mainEntered);
}
