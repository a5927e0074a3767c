#pragma once

#include "dispatch.h"
#include "form1.h"
#include "form_about.h"
#include "form_kadrix.h"
#include "form_op_jpeg.h"
#include "image_list_view.h"
#include "program.h"
#include "scripted_dialogs.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QWidget>

#include <set>

#include <gtest/gtest.h>

namespace kadrix::test {

// Creates the program's forms, as at start, with scripted dialogs.
class MainWindowTest : public ::testing::Test {
protected:
    ScriptedDialogsScope dialogs;
    Forms forms;

    TFormKadrix& window() { return *forms.FormKadrix; }

    // A control of the main window by its objectName; fails the test when
    // there is none.
    template <typename T> T* control(const char* name) {
        T* widget = forms.FormKadrix->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << "no control " << name;
        return widget;
    }

    // Triggers one of the main window's actions by its objectName.
    void trigger(const char* action) {
        auto* a = forms.FormKadrix->findChild<QAction*>(QString::fromLatin1(action));
        ASSERT_NE(a, nullptr) << "no action " << action;
        a->trigger();
    }

    // The SourceList's entries, and the image list's marks, as values.
    QStringList entries() {
        QStringList l;
        for (int i = 0; i < window().sourceList().count(); ++i)
            l << window().sourceList()[i];
        return l;
    }
    std::set<int> checkedRows() { return rowsWhere(&ImageListView::isChecked); }
    std::set<int> selectedRows() { return rowsWhere(&ImageListView::isSelected); }

private:
    std::set<int> rowsWhere(bool (ImageListView::*mark)(int) const) {
        const ImageListView* list = control<ImageListView>("ListBox1");
        std::set<int> rows;
        for (int i = 0; i < list->count(); ++i)
            if ((list->*mark)(i))
                rows.insert(i);
        return rows;
    }
};

// A main window whose source folder is a fresh temporary folder and whose
// destination is its sub-folder "cropped".
class FolderWindowTest : public MainWindowTest {
protected:
    QTemporaryDir dir;
    QString out;

    void SetUp() override {
        out = dir.filePath(QStringLiteral("cropped"));
        control<QLineEdit>("EditSrcDir")->setText(dir.path() + QLatin1Char('/'));
        control<QLineEdit>("EditDstDir")->setText(out);
    }
};

} // namespace kadrix::test
