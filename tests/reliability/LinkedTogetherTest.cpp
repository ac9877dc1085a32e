// Both programs name their forms TForm1 and TForm2. Where both are linked into one executable
// (these tests, the benchmarks), each form must still be built from its own program's layout.
#include "tests/reliability/EditorFixture.h"

#include "editor/Unit2.h"
#include "viewer/Navigation.h"
#include "viewer/Unit2.h"

#include <QLabel>
#include <QLineEdit>

#include <cstring>

namespace mirvel::reliability {
namespace {

TEST(LinkedTogetherTest, EachAboutBoxIsItsOwnProgramsOne)
{
    const viewer::TForm2 viewerAbout;
    const editor::TForm2 editorAbout;
    EXPECT_EQ(viewerAbout.findChild<QLabel*>("Label2")->text(), Utf8("フランス語単語カード"));
    EXPECT_EQ(editorAbout.findChild<QLabel*>("Label2")->text(), Utf8("フランス語単語帳エディタ"));
}

TEST_F(EditorTest, TheViewerWalksWhatTheEditorSavesAndTheEditorOpensWhatTheViewerSideWrites)
{
    auto form = Create();
    auto* edF = form->findChild<QLineEdit*>("edF");
    auto* edJ = form->findChild<QLineEdit*>("edJ");
    const auto store = [&](const QString& francais, const QString& japonais) {
        edF->setText(francais);
        edJ->setText(japonais);
        form->btnRenewClick();
    };
    store("w1", "j1");
    form->btnAddClick();
    store("w2", "j2");
    form->btnAddClick();
    store("w3", "j3");
    form->btnPrevClick();
    store(QString("caf") + QChar(0xE9), Utf8("喫茶店"));
    const std::string path = dir.File("cross.mirvel");
    shell.saveAnswers.push_back(QString::fromStdString(path));
    form->SaveAs1Click();

    viewer::Navigation navigation;
    navigation.SwapIn(ReadWordFile(path));
    ASSERT_EQ(navigation.WordCount(), 3);
    ASSERT_TRUE(navigation.Next());
    EXPECT_EQ(navigation.Words()[1].FrancaisBytes(), "caf\xE9");
    EXPECT_EQ(navigation.Words()[1].JaponaisBytes(), "\x8B\x69\x92\x83\x93\x58");
    EXPECT_EQ(navigation.CounterText(), "2/3");
    WordList read = navigation.Words();
    EXPECT_EQ(std::memcmp(read.data(), form->Doc().Words().data(), 3 * RecordSize), 0);

    read[2].SetFrancais("\x9C" "uf");
    const std::string back = Write("back.mirvel", read);
    shell.openAnswers.push_back(QString::fromStdString(back));
    form->Open1Click();
    const auto* list = form->findChild<QAbstractItemView*>("ListBox1");
    EXPECT_EQ(list->model()->index(2, 0).data().toString(), QChar(0x0153) + QString("uf"));
    EXPECT_EQ(std::memcmp(read.data(), form->Doc().Words().data(), 3 * RecordSize), 0);
}

}  // namespace
}  // namespace mirvel::reliability
