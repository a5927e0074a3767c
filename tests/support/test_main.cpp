// Shared main of every test executable: a headless application object with
// every picture type registered, and scripted dialogs by default so that no
// test can block on a real modal window.
#include "application.h"
#include "picture_types.h"
#include "scripted_dialogs.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    ::testing::InitGoogleTest(&argc, argv);
    kadrix::PictureTypes pictureTypes;
    kadrix::Application app(argc, argv);
    kadrix::setDialogService(std::make_unique<kadrix::test::ScriptedDialogs>());
    return RUN_ALL_TESTS();
}
