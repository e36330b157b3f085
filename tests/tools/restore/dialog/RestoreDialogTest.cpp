#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/support/QtTestSupport.h"
#include "tests/tools/restore/RestoreTestSupport.h"
#include "tools/restore/RestoreTexts.h"
#include "tools/restore/dialog/RestoreDialog.h"

namespace tvane::test {
namespace {

namespace texts = restore_texts;
using ::testing::ElementsAre;

QStringList Items(const QListWidget* list) {
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items << list->item(i)->text();
    return items;
}

class RestoreDialogTest : public RestoreTest {
protected:
    void SetUp() override {
        TestApp();
        RestoreTest::SetUp();
    }
    template <typename T> T* Child(const RestoreDialog& dialog, const char* name) {
        T* child = dialog.findChild<T*>(name);
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
};

TEST_F(RestoreDialogTest, ShowsTheMissingDatasetsAndRestoresThem) {
    const std::string file = MakeDatasetFile("Y1000000.001", {"Z1000000.001", "Z1000001.001"});
    DatabaseRestore restore(prompter);
    RestoreDialog dialog(restore, prompter);
    dialog.show();

    EXPECT_EQ(dialog.windowTitle(), texts::kCaption);
    EXPECT_EQ(Child<QLabel>(dialog, "introLabel")->text(), texts::kIntroduction);
    EXPECT_EQ(Child<QLabel>(dialog, "databasePathLabel")->text(), texts::kDatabasePathLabel);
    EXPECT_EQ(Child<QLabel>(dialog, "missingLabel")->text(), texts::kMissingListLabel);
    EXPECT_EQ(Child<QLabel>(dialog, "instructionsLabel")->text(), texts::kInstructions);
    EXPECT_EQ(Child<QLineEdit>(dialog, "databasePath")->text().toStdString(), database.string());
    EXPECT_EQ(Items(Child<QListWidget>(dialog, "fileList")), QStringList{"Y1000000.001"});
    EXPECT_EQ(Items(Child<QListWidget>(dialog, "missingList")),
              (QStringList{QString::fromStdString(file + ";Z1000000.001"),
                           QString::fromStdString(file + ";Z1000001.001")}));
    QPushButton* restoreButton = Child<QPushButton>(dialog, "restoreButton");
    EXPECT_EQ(restoreButton->text(), texts::kRestoreButton);
    ASSERT_TRUE(restoreButton->isEnabled());

    prompter.Script({MsgAnswer::Yes});
    QTest::mouseClick(restoreButton, Qt::LeftButton);
    EXPECT_FALSE(restoreButton->isEnabled());
    EXPECT_THAT(prompter.Texts(), ElementsAre(texts::kConfirmRestore, texts::kRestored));
    EXPECT_EQ(Sql("SELECT count(*) FROM Setup; SELECT count(*) FROM Dataset"), "1\n2\n");

    QPushButton* exitButton = Child<QPushButton>(dialog, "exitButton");
    EXPECT_EQ(exitButton->text(), texts::kExitButton);
    QTest::mouseClick(exitButton, Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_FALSE(restore.IsOpen());
}

TEST_F(RestoreDialogTest, StaysEmptyWithoutTheDatabase) {
    MakeDatasetFile("Y1000000.001", {"Z1000000.001"});
    std::filesystem::remove(database);
    DatabaseRestore restore(prompter);
    RestoreDialog dialog(restore, prompter);
    EXPECT_THAT(prompter.Texts(), ElementsAre(texts::kDbNotFound));
    EXPECT_TRUE(Child<QLineEdit>(dialog, "databasePath")->text().isEmpty());
    EXPECT_EQ(Child<QListWidget>(dialog, "fileList")->count(), 0);
    EXPECT_EQ(Child<QListWidget>(dialog, "missingList")->count(), 0);
    EXPECT_FALSE(Child<QPushButton>(dialog, "restoreButton")->isEnabled());
}

} // namespace
} // namespace tvane::test
