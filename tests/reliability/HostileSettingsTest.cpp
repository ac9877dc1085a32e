// A settings file that is a folder, that can't be read, or that is full of garbage keeps
// neither program from starting, and neither from closing.
#include "tests/reliability/EditorFixture.h"
#include "tests/reliability/ViewerFixture.h"

#include <sys/stat.h>

#include <functional>

namespace mirvel::reliability {
namespace {

using namespace std::string_literals;

struct Program {
    const char* name;
    const char* settingsName;
    std::function<std::unique_ptr<QWidget>(gui::Shell&, const QString&)> create;
};

const Program Programs[] = {
    {"Mirvel", "Mirvel.ini",
     [](gui::Shell& shell, const QString& settings) -> std::unique_ptr<QWidget> {
         return std::make_unique<viewer::TForm1>(shell, settings, QStringList());
     }},
    {"Mirveledit", "Mirveledit.ini",
     [](gui::Shell& shell, const QString& settings) -> std::unique_ptr<QWidget> {
         return std::make_unique<editor::TForm1>(shell, settings);
     }},
};

void PrintTo(const Program& program, std::ostream* out) { *out << program.name; }

class HostileSettingsTest : public ::testing::TestWithParam<Program> {
protected:
    std::string Settings() const { return dir.File(GetParam().settingsName); }
    QString SettingsPath() const { return QString::fromStdString(Settings()); }
    QString CannotWrite() const { return SettingsPath() + Utf8(" に書き込めません."); }

    std::unique_ptr<QWidget> Start()
    {
        auto form = GetParam().create(shell, SettingsPath());
        form->show();
        return form;
    }
    // Where the window comes up with these settings, started in a folder of its own.
    QPoint PositionWith(const std::string& settings) const
    {
        test::TempDir elsewhere;
        test::FakeShell quiet;
        const std::string path = elsewhere.File(GetParam().settingsName);
        if (!settings.empty()) test::WriteAll(path, settings);
        auto form = GetParam().create(quiet, QString::fromStdString(path));
        form->show();  // the editor is placed by its frame once it is shown
        EXPECT_TRUE(quiet.errors.empty());
        return form->pos();
    }

    test::TempDir dir;
    test::FakeShell shell;
};

const std::string Placed = "[Form]\r\nLeft=33\r\nTop=44\r\n";

TEST_P(HostileSettingsTest, AFolderInPlaceOfTheFile)
{
    std::filesystem::create_directory(Settings());
    auto form = Start();
    EXPECT_TRUE(shell.errors.empty());
    EXPECT_EQ(form->pos(), PositionWith(""));

    EXPECT_TRUE(form->close());
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(shell.errors, std::vector<QString>{CannotWrite()});
    EXPECT_TRUE(std::filesystem::is_directory(Settings()));
}

// Write-only: had the settings been rewritten from what could be read (nothing), the user's
// other values would be gone.
TEST_P(HostileSettingsTest, AnUnreadableFileIsNeitherReadNorOverwritten)
{
#ifdef _WIN32
    GTEST_SKIP() << "Windows makes a file unreadable to its owner only through access lists, which "
                    "Wine doesn't enforce";
#else
    const std::string settings = Placed + "\r\n[User]\r\nFSize=20\r\n\r\n[Elsewhere]\r\nKept=1\r\n";
    test::WriteAll(Settings(), settings);
    ASSERT_EQ(::chmod(Settings().c_str(), 0200), 0);
    {
        RefusedByModes refused;
        ASSERT_TRUE(refused.Active());
        auto form = Start();
        EXPECT_TRUE(shell.errors.empty());
        EXPECT_EQ(form->pos(), PositionWith(""));

        EXPECT_TRUE(form->close());
        EXPECT_FALSE(form->isVisible());
        EXPECT_EQ(shell.errors, std::vector<QString>{CannotWrite()});
    }
    ::chmod(Settings().c_str(), 0644);
    EXPECT_EQ(test::ReadAll(Settings()), settings);
#endif
}

TEST_P(HostileSettingsTest, GarbageLinesAroundTheKeys)
{
    const std::string odd = "\0\xff\xfe binary\r\n=no key\r\n[\r\n[Form\r\nLeft\r\n;Left=1\r\n"s;
    std::string garbage = odd + std::string(100000, 'x') + "\n\r\r\n";
    garbage += "Top=7\0\0\0\r\n"s;  // before any section: no key of Form's
    const std::string text = garbage + Placed + "[Form]\r\nLeft=999\r\n\x1a";
    test::WriteAll(Settings(), text);

    auto form = Start();
    EXPECT_TRUE(shell.errors.empty());
    EXPECT_EQ(form->pos(), PositionWith(Placed));
    EXPECT_TRUE(form->close());
    EXPECT_TRUE(shell.errors.empty());
    // The keys were rewritten in place; every other line is still there.
    const std::string after = test::ReadAll(Settings());
    EXPECT_EQ(after.rfind(odd, 0), 0u);
    EXPECT_NE(after.find(std::string(100000, 'x') + "\n\r\r\n"), std::string::npos);
    EXPECT_NE(after.find("[Form]\r\nLeft=999\r\n\x1a"), std::string::npos);
}

TEST_P(HostileSettingsTest, ANulByteEndsAValue)
{
    test::WriteAll(Settings(), "[Form]\r\nLeft=33\0!\r\nTop=44\r\n"s);
    auto form = Start();
    EXPECT_TRUE(shell.errors.empty());
    EXPECT_EQ(form->pos(), PositionWith(Placed));
}

TEST_P(HostileSettingsTest, APositionThatIsNoNumber)
{
    test::WriteAll(Settings(), "[Form]\r\nLeft=forty\r\nTop=44\r\n");
    auto form = Start();
    EXPECT_EQ(shell.errors, std::vector<QString>{Utf8("'forty' は整数ではありません.")});
    EXPECT_TRUE(form->isVisible());

    // Closing writes numbers, and the next start is clean.
    EXPECT_TRUE(form->close());
    EXPECT_EQ(shell.errors.size(), 1u);
    shell.errors.clear();
    form = Start();
    EXPECT_TRUE(shell.errors.empty());
}

INSTANTIATE_TEST_SUITE_P(BothPrograms, HostileSettingsTest, ::testing::ValuesIn(Programs),
                         [](const auto& p) { return std::string(p.param.name); });

}  // namespace
}  // namespace mirvel::reliability
