// Both programs name their forms TForm1 and TForm2. Where both are linked into one executable
// (these tests, the benchmarks), each form must still be built from its own program's layout.
#include "Reliability.h"

#include "editor/Unit2.h"
#include "viewer/Unit2.h"

#include <QLabel>

namespace mirvel::reliability {
namespace {

TEST(LinkedTogetherTest, EachAboutBoxIsItsOwnProgramsOne)
{
    const viewer::TForm2 viewerAbout;
    const editor::TForm2 editorAbout;
    EXPECT_EQ(viewerAbout.findChild<QLabel*>("Label2")->text(), Utf8("フランス語単語カード"));
    EXPECT_EQ(editorAbout.findChild<QLabel*>("Label2")->text(), Utf8("フランス語単語帳エディタ"));
}

}  // namespace
}  // namespace mirvel::reliability
