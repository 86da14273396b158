#include <gtest/gtest.h>

#include <QGuiApplication>

#include "app/platform/KeyboardLocks.h"

// Off X11 nothing can be read, and nothing is made up.
TEST(KeyboardLocks, NothingWithoutAWindowSystemThatReportsThem) {
    if (QGuiApplication::platformName() == QLatin1String("xcb")) GTEST_SKIP();
    EXPECT_FALSE(KeyboardLocks::CapsLock().has_value());
    EXPECT_FALSE(KeyboardLocks::NumLock().has_value());
    EXPECT_FALSE(KeyboardLocks::ScrollLock().has_value());
}

#ifdef KORVANE_WITH_XKB
#include <xcb/xcb.h>
#define explicit explicit_
#include <xcb/xkb.h>
#undef explicit

// On X11 the lights follow the keyboard's locked modifiers, set here as the lock keys would.
TEST(KeyboardLocks, FollowTheKeyboardOnX11) {
    if (QGuiApplication::platformName() != QLatin1String("xcb")) GTEST_SKIP() << "needs X11";
    xcb_connection_t* c =
        qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
    ASSERT_TRUE(KeyboardLocks::CapsLock().has_value());
    auto lock = [c](uint8_t modifiers) {
        xcb_discard_reply(c, xcb_xkb_latch_lock_state_checked(c, XCB_XKB_ID_USE_CORE_KBD,
                                                              XCB_MOD_MASK_LOCK | XCB_MOD_MASK_2,
                                                              modifiers, 0, 0, 0, 0, 0)
                                 .sequence);
    };
    const struct {
        uint8_t locked;
        bool caps, num;
    } cases[] = {{0, false, false},
                 {XCB_MOD_MASK_LOCK, true, false},
                 {XCB_MOD_MASK_2, false, true},
                 {XCB_MOD_MASK_LOCK | XCB_MOD_MASK_2, true, true}};
    for (const auto& k : cases) {
        lock(k.locked);
        EXPECT_EQ(KeyboardLocks::CapsLock(), k.caps) << int(k.locked);
        EXPECT_EQ(KeyboardLocks::NumLock(), k.num) << int(k.locked);
        EXPECT_EQ(KeyboardLocks::ScrollLock(), false);
    }
    lock(0);
}
#endif
