#include "dispatch.h"
#include "errors.h"
#include "scripted_dialogs.h"

#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

namespace kadrix {
namespace {

TEST(Dispatch, SilentAbortShowsNothingAndOtherErrorsShowTheirTextOnce) {
    test::ScriptedDialogsScope dialogs;
    EXPECT_FALSE(dispatch([] { throw SilentAbort(); }));
    EXPECT_TRUE(dialogs->errors.empty());

    EXPECT_FALSE(dispatch([] { throw Error(QStringLiteral("Extension de fichier image inconnue (.txt)")); }));
    EXPECT_FALSE(dispatch([] { throw std::runtime_error("plain"); }));
    EXPECT_TRUE(dispatch([] {}));
    EXPECT_EQ(dialogs->errors,
              (std::vector<QString>{"Extension de fichier image inconnue (.txt)", "plain"}));
}

TEST(Dispatch, AnErrorInAClickHandlerNeverReachesTheEventLoop) {
    test::ScriptedDialogsScope dialogs;
    QPushButton button;
    QObject::connect(&button, &QPushButton::clicked,
                     guarded([] { throw Error(QStringLiteral("raté")); }));
    button.click();
    button.click();
    EXPECT_EQ(dialogs->errors.size(), 2u);
}

TEST(Dispatch, DeferredActionsWaitForTheOutermostHandler) {
    std::vector<int> order;
    dispatch([&] {
        dispatch([&] {
            whenNoHandlerRuns([&] {
                order.push_back(3);
                EXPECT_EQ(runningHandlers(), 0);
            });
            order.push_back(1);
        });
        order.push_back(2);
    });
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
    whenNoHandlerRuns([&] { order.push_back(4); }); // none running: at once
    EXPECT_EQ(order.back(), 4);
}

} // namespace
} // namespace kadrix
