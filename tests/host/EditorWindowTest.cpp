// The editor of a module in a real X server, with the module loaded as a host
// loads it (through VSTPluginMain, by the command-line host's code):
//
//     editor_window_tests <module.so>
//
// The host makes its window, asks for the editor's rectangle, opens the editor
// in its window, idles it, finds our window among its window's children and
// the editor painted there, closes the editor and destroys its window (as
// hosts do), then does it all again in a new window, while another thread
// renders blocks. A host that never idles still gets its audio and its
// state. Not one X error may arise, on any connection of the process.
//
// ctest runs it under its own Xvfb (run-under-xvfb.sh). Without a display the
// test is skipped (exit code 77); a module without an editor fails it.
#include "tools/PluginInstance.h"
#include "tools/TempFolder.h"

#include <gtest/gtest.h>

// After everything else: Xlib's macros (None, Bool, Status) would clash with names in other headers.
#include "support/WindowManagerAtoms.h"
#include <X11/Xutil.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <iostream>
#include <set>
#include <thread>

using namespace vst;

namespace
{
std::string modulePath;

// Every X error of the process, from our connection or the module's: the default handler would end the process.
int xErrors = 0;
std::string firstXError;

int countXError(Display* display, XErrorEvent* event)
{
    char text[128] = {};
    XGetErrorText(display, event->error_code, text, sizeof text);
    if (xErrors++ == 0)
        firstXError = std::string(text) + " (request " + std::to_string(event->request_code) + ")";
    return 0;
}

// Renders blocks on its own thread, as the host's audio thread does, until destroyed.
class RenderThread
{
public:
    explicit RenderThread(clihost::PluginInstance& instance)
        : outputs(static_cast<size_t>(instance.effect()->numOutputs), std::vector<float>(blockSize)),
          thread([this, &instance] {
              std::vector<float*> pointers;
              for (auto& channel : outputs)
                  pointers.push_back(channel.data());
              for (int64_t start = 0; !stop; start += blockSize)
              {
                  instance.process(nullptr, pointers.data(), blockSize, start);
                  ++blocks;
                  std::this_thread::sleep_for(std::chrono::milliseconds(1));
              }
          })
    {
    }
    ~RenderThread()
    {
        stop = true;
        thread.join();
    }
    std::atomic<int> blocks { 0 };

private:
    static constexpr int blockSize = 256;
    std::vector<std::vector<float>> outputs;
    std::atomic<bool> stop { false };
    std::thread thread;
};

struct Painted
{
    int colours = 0;           // distinct pixel values, counted up to 16
    double hostBackground = 1; // share of pixels still showing the host window's background
};

// What our window shows; only asked once it is viewable (reading an unmapped window is an X error).
Painted readPixels(Display* display, Window window, unsigned long hostBackground)
{
    XWindowAttributes attributes {};
    if (XGetWindowAttributes(display, window, &attributes) == 0 || attributes.map_state != IsViewable)
        return {};
    XImage* image = XGetImage(display, window, 0, 0, static_cast<unsigned>(attributes.width),
                              static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
    if (image == nullptr)
        return {};
    std::set<unsigned long> colours;
    long background = 0;
    for (int y = 0; y < attributes.height; ++y)
        for (int x = 0; x < attributes.width; ++x)
        {
            const auto pixel = XGetPixel(image, x, y) & 0xffffff;
            background += pixel == hostBackground ? 1 : 0;
            if (colours.size() < 16)
                colours.insert(pixel);
        }
    XDestroyImage(image);
    return { static_cast<int>(colours.size()),
             static_cast<double>(background) / (static_cast<double>(attributes.width) * attributes.height) };
}

std::vector<Window> childrenOf(Display* display, Window window)
{
    Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    if (XQueryTree(display, window, &root, &parent, &children, &count) == 0)
        return {};
    std::vector<Window> found(children, children + count);
    if (children != nullptr)
        XFree(children);
    return found;
}

class EditorWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        display = XOpenDisplay(nullptr);
        if (display == nullptr)
            GTEST_SKIP() << "no X display";
        XSetErrorHandler(countXError);
        testing_support::internWindowManagerAtoms(display);
        XSync(display, False);
        setenv("XDG_CONFIG_HOME", settings.path.c_str(), 1); // a product keeps its settings there

        std::string error;
        module = clihost::PluginModule::load(modulePath, error);
        ASSERT_NE(module, nullptr) << error;
        instance = clihost::PluginInstance::create(*module, {}, error);
        ASSERT_NE(instance, nullptr) << error;
        ASSERT_NE(instance->effect()->flags & effFlagsHasEditor, 0) << modulePath << " has no editor";
    }

    void TearDown() override
    {
        instance.reset();
        module.reset();
        if (display != nullptr)
        {
            XSync(display, False);
            XCloseDisplay(display);
        }
    }

    // The host's window, sized to the editor's rectangle and shown.
    Window makeHostWindow(int width, int height)
    {
        const int screen = DefaultScreen(display);
        const Window window = XCreateSimpleWindow(display, RootWindow(display, screen), 0, 0,
                                                  static_cast<unsigned>(width), static_cast<unsigned>(height), 0,
                                                  BlackPixel(display, screen), hostBackground);
        XMapWindow(display, window);
        XSync(display, False);
        return window;
    }

    using Milliseconds = std::chrono::duration<double, std::milli>;
    struct Timing
    {
        Milliseconds open, shown; // the effEditOpen call; from asking the rectangle until the editor showed
    };

    // Opens the editor in a new host window and idles it as a host does until it shows there, painted.
    Timing openInNewWindow()
    {
        const auto askedAt = std::chrono::steady_clock::now();
        ERect* rect = nullptr;
        EXPECT_NE(instance->dispatch(effEditGetRect, 0, 0, &rect), 0);
        if (rect == nullptr)
            return {};
        EXPECT_EQ(rect->top, 0);
        EXPECT_EQ(rect->left, 0);
        const int width = rect->right, height = rect->bottom;
        EXPECT_GT(width, 0);
        EXPECT_GT(height, 0);
        hostWindow = makeHostWindow(width, height);

        const auto openedAt = std::chrono::steady_clock::now();
        EXPECT_EQ(instance->dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(hostWindow)), 1);
        const Milliseconds openTime = std::chrono::steady_clock::now() - openedAt;

        // Idle every few milliseconds until the editor shows; give up after five seconds.
        Painted painted;
        std::vector<Window> children;
        for (int round = 0; round < 2500 && (painted.colours < 2 || painted.hostBackground > 0.5); ++round)
        {
            instance->idle();
            XSync(display, False);
            children = childrenOf(display, hostWindow);
            if (children.size() == 1)
                painted = readPixels(display, children.front(), hostBackground);
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        const Milliseconds shownTime = std::chrono::steady_clock::now() - askedAt;
        EXPECT_EQ(children.size(), 1u) << "our window is the one child of the host's";
        if (children.size() == 1)
        {
            editorWindow = children.front();
            XWindowAttributes attributes {};
            XGetWindowAttributes(display, editorWindow, &attributes);
            EXPECT_EQ(attributes.width, width);
            EXPECT_EQ(attributes.height, height);
        }
        EXPECT_GE(painted.colours, 2) << "the editor painted its picture";
        EXPECT_LT(painted.hostBackground, 0.5);
        return { openTime, shownTime };
    }

    // Closes the editor and destroys the host's window at once, as hosts do.
    void closeAndDestroyWindow()
    {
        EXPECT_EQ(instance->dispatch(effEditClose), 0);
        EXPECT_TRUE(childrenOf(display, hostWindow).empty());
        XDestroyWindow(display, hostWindow);
        XSync(display, False);
        hostWindow = editorWindow = 0;
        for (int round = 0; round < 5; ++round)
            instance->idle();
    }

    Timing openPaintAndClose()
    {
        const auto timing = openInNewWindow();
        closeAndDestroyWindow();
        return timing;
    }

    static constexpr unsigned long hostBackground = 0xff00ff; // magenta
    Display* display = nullptr;
    Window hostWindow = 0, editorWindow = 0;
    TempFolder settings { "pulsetta-editor-window-" };
    std::unique_ptr<clihost::PluginModule> module;
    std::unique_ptr<clihost::PluginInstance> instance;
};
} // namespace

TEST_F(EditorWindow, OpensInTheHostsWindowPaintsClosesAndReopensWhileBlocksRender)
{
    instance->resume(44100.0, 256);
    {
        RenderThread audio(*instance);
        const auto first = openPaintAndClose();
        const auto again = openPaintAndClose();
        std::cout << "effEditOpen took " << first.open.count() << " ms (shown after " << first.shown.count()
                  << " ms), again " << again.open.count() << " ms (shown after " << again.shown.count() << " ms)\n";
        EXPECT_GT(audio.blocks, 0);
    }
    instance->suspend();
    instance->close();
    instance.reset();
    module.reset();
    XSync(display, False);
    EXPECT_EQ(xErrors, 0) << firstXError;
}

// Headless hosts never idle the editor, and some hosts idle it rarely: with
// the editor open and no idle call at all, blocks still sound and the state
// still goes out and comes back.
TEST_F(EditorWindow, AudioAndStateNeedNoIdleCall)
{
    ERect* rect = nullptr;
    instance->dispatch(effEditGetRect, 0, 0, &rect);
    ASSERT_NE(rect, nullptr);
    hostWindow = makeHostWindow(rect->right, rect->bottom);
    ASSERT_EQ(instance->dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(hostWindow)), 1);
    instance->resume(44100.0, 256);

    std::vector<std::vector<float>> out(static_cast<size_t>(instance->effect()->numOutputs), std::vector<float>(256, 5.0f));
    std::vector<float*> outputs;
    for (auto& channel : out)
        outputs.push_back(channel.data());
    instance->sendEvents({ clihost::MidiEventIn { 0, { 0x99, 36, 127 } } });
    instance->process(nullptr, outputs.data(), 256);
    bool written = true, sounding = false;
    for (const auto& channel : out)
        for (const float sample : channel)
        {
            written = written && sample != 5.0f;
            sounding = sounding || sample != 0.0f;
        }
    EXPECT_TRUE(written && sounding);

    instance->setParameter(0, 0.25f);
    const auto chunk = instance->getChunk();
    EXPECT_FALSE(chunk.empty());
    instance->setParameter(0, 0.75f);
    instance->setChunk(chunk);
    EXPECT_FLOAT_EQ(instance->getParameter(0), 0.25f);
    EXPECT_EQ(instance->getChunk(), chunk);

    instance->suspend();
    closeAndDestroyWindow();
    EXPECT_EQ(xErrors, 0) << firstXError;
}

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (argc != 2)
    {
        std::cerr << "usage: " << argv[0] << " <module.so>\n";
        return 2;
    }
    modulePath = argv[1];
    const int result = RUN_ALL_TESTS();
    const auto& tests = *::testing::UnitTest::GetInstance();
    return result == 0 && tests.skipped_test_count() == tests.test_to_run_count() ? 77 : result;
}
