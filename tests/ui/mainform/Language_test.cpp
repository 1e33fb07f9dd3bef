#include "MainFormParts.h"
#include "MainFormTestAccess.h"
#include "UiFakes.h"

#include "base/Exceptions.h"
#include "midi/ArrangeList.h"
#include "midi/PatternCheck.h"
#include "ui/MessageBoxes.h"
#include "ui/Translations.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QLocale>
#include <QRegularExpression>
#include <QTranslator>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <utility>

namespace
{
/// Consulted before the program's translation, it notes every text looked up and leaves the
/// answer to the others.
class TLookupRecorder : public QTranslator
{
public:
    QString translate(const char* context, const char* source, const char* disambiguation,
                      int n) const override
    {
        (void)disambiguation;
        (void)n;
        if (source != nullptr && *source != '\0')
            Seen.emplace(context, source);
        return {};
    }
    bool isEmpty() const override { return false; }
    mutable std::set<std::pair<QByteArray, QByteArray>> Seen;
};

/// The program's translation into language, Qt's own, and the recorder, for one test.
struct TLanguage
{
    explicit TLanguage(const QString& language) : Installed(InstallTranslations(language))
    {
        QCoreApplication::installTranslator(&Recorder);
    }
    ~TLanguage()
    {
        QCoreApplication::removeTranslator(&Recorder);
        delete Installed.Program;
        delete Installed.Qt;
    }
    TInstalledTranslations Installed;
    TLookupRecorder Recorder;
};

/// Every text a widget of the window shows in itself (the lists' items are data: pattern
/// names), and its actions'.
QStringList ShownTexts(const QWidget& window)
{
    QStringList texts;
    for (const QAction* action : window.findChildren<QAction*>())
        texts << action->text() << action->statusTip() << action->toolTip();
    for (const QWidget* widget : window.findChildren<QWidget*>())
    {
        texts << widget->toolTip() << widget->accessibleName() << widget->accessibleDescription();
        if (const QVariant text = widget->property("text"); text.isValid())
            texts << text.toString();
        if (const QVariant title = widget->property("title"); title.isValid())
            texts << title.toString();
    }
    return texts;
}

/// Text without the pattern library's names, which are data and may be Japanese.
QString WithoutPatternNames(QString text)
{
    for (const TPatternKind kind : {TPatternKind::Back, TPatternKind::Bass, TPatternKind::Drum})
        for (const std::string& name : PatternLibrary(kind).Names)
            text.remove(QString::fromStdString(name));
    return text;
}

const QRegularExpression Japanese(QStringLiteral("[\\x{3040}-\\x{30ff}\\x{3400}-\\x{9fff}]"));
} // namespace

TEST(LanguageTest, TheSettingWinsAndTheSystemDecidesOtherwise)
{
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    const QLocale japanese(QLocale::Japanese, QLocale::Japan);
    EXPECT_EQ(ChosenLanguage(QString(), english), QStringLiteral("en"));
    EXPECT_EQ(ChosenLanguage(QString(), japanese), QStringLiteral("es"));
    EXPECT_EQ(ChosenLanguage(QStringLiteral("es"), english), QStringLiteral("es"));
    EXPECT_EQ(ChosenLanguage(QStringLiteral("en"), japanese), QStringLiteral("en"));
    EXPECT_EQ(ChosenLanguage(QStringLiteral("fr"), japanese), QStringLiteral("es"));
}

// Each language: every text looked up while the window is made and its pages shown has a
// translation under the context it was looked up in (a class without its own tr() context
// would miss), nothing the window shows is Japanese, and the revert question and a core
// error read in the language.
TEST(LanguageTest, TheWindowSpeaksTheChosenLanguageThroughout)
{
    const struct
    {
        const char* Language;
        const char* Revert;
        const char* ReadError;
    } cases[] = {
        {"es", "Se descartarán todos los cambios. ¿Desea continuar?", "Archivo MIDI no válido"},
        {"en", "All changes will be discarded. Do you want to continue?", "Invalid MIDI file"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.Language);
        TLanguage language{QString::fromLatin1(c.Language)};
        ASSERT_NE(language.Installed.Program, nullptr) << "the catalogue is built in";
        TFormFixture f;
        f.Services.CreatePropertyPage = nullptr;
        f.Services.CreateUnitPage = nullptr;
        const QString path = f.WriteSong(QStringLiteral("tune.lvp"), 2);
        TLyravaneMainForm& form = f.Create();
        form.show();
        Inside(form).FormShow();
        Inside(form).OpenProjectFile(path);
        for (int tab = 0; tab < form.TabControl1->count(); ++tab)
            form.TabControl1->setCurrentIndex(tab);
        f.MessageBoxes.Answers = {TMsgResult::No};
        Action(form, "Action_FileRevert")->trigger();

        ASSERT_FALSE(f.MessageBoxes.Shown.empty());
        EXPECT_EQ(f.MessageBoxes.Shown.back().Text, QString::fromUtf8(c.Revert));
        EXPECT_EQ(ErrorText(EInvalidMidiFile(Core::Tr("no MThd header"))),
                  QString::fromUtf8(c.ReadError));
        int looked = 0;
        for (const auto& [context, source] : language.Recorder.Seen)
        {
            if (context.startsWith('Q'))
                continue; // Qt's own texts
            ++looked;
            EXPECT_FALSE(language.Installed.Program->translate(context, source).isEmpty())
                << "no translation of \"" << source.toStdString() << "\" under "
                << context.toStdString();
        }
        EXPECT_GT(looked, 50);
        for (const QString& text : ShownTexts(form))
            EXPECT_FALSE(WithoutPatternNames(text).contains(Japanese)) << text.toStdString();
    }
}
