// The host's idle call, through the binding, in a real X server: the idle
// call is the editor's only sure chance to paint, so each one paints what
// changed before it (run-under-xvfb.sh gives it a server of its own; without
// a display it is skipped).
#include "RecordingProcessor.h"

#include "host/JuceVSTWrapper.h"

#include <gtest/gtest.h>

// After everything else: Xlib's macros clash with names in other headers.
#include "support/WindowManagerAtoms.h"

#include <chrono>
#include <thread>

namespace
{
vst::VstIntPtr quietHost(vst::AEffect*, vst::VstInt32 opcode, vst::VstInt32, vst::VstIntPtr, void*, float)
{
    return opcode == vst::audioMasterVersion ? vst::kVstVersion : 0;
}
} // namespace

TEST(EditorIdle, EachIdleCallPaintsWhatChangedBeforeIt)
{
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr)
        GTEST_SKIP() << "no X display";
    testing_support::internWindowManagerAtoms(display);

    host::JuceVSTWrapper wrapper(quietHost, recording::createProcessor());
    vst::AEffect* effect = wrapper.getAeffect();
    const auto dispatch = [&](vst::VstInt32 opcode, void* ptr = nullptr) { return wrapper.dispatcher(opcode, 0, 0, ptr, 0.0f); };
    dispatch(vst::effOpen);

    const int screen = DefaultScreen(display);
    const Window hostWindow = XCreateSimpleWindow(display, RootWindow(display, screen), 0, 0, recording::editorWidth,
                                                  recording::editorHeight, 0, BlackPixel(display, screen), WhitePixel(display, screen));
    XMapWindow(display, hostWindow);
    XSync(display, False);
    ASSERT_EQ(dispatch(vst::effEditOpen, reinterpret_cast<void*>(hostWindow)), 1);

    // As between a host's idle calls: what was painted has reached the server and the editor has heard so,
    // and the editor's own frame timer has just had its turn.
    const auto settle = [&] {
        for (int round = 0; round < 3; ++round)
        {
            std::this_thread::sleep_for(std::chrono::milliseconds(15));
            XSync(display, False);
            dispatch(vst::effEditIdle);
        }
    };

    settle();
    ASSERT_GT(recording::editorPaintCount(), 0) << "the editor showed";

    for (int change = 0; change < 6; ++change)
    {
        settle();
        const int paintsBefore = recording::editorPaintCount();
        effect->setParameter(effect, 0, change % 2 == 0 ? 1.0f : 0.0f); // the editor asks to be painted again
        EXPECT_EQ(recording::editorPaintCount(), paintsBefore) << "nothing paints outside the idle call";
        dispatch(vst::effEditIdle);
        EXPECT_GT(recording::editorPaintCount(), paintsBefore) << "change " << change;
    }

    dispatch(vst::effEditClose);
    XDestroyWindow(display, hostWindow);
    XSync(display, False);
    dispatch(vst::effClose);
    XCloseDisplay(display);
}
