#pragma once

#include "dispatch.h"
#include "form1.h"
#include "form_about.h"
#include "form_kadrix.h"
#include "form_op_jpeg.h"
#include "program.h"
#include "scripted_dialogs.h"

#include <QApplication>
#include <QWidget>

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
};

} // namespace kadrix::test
