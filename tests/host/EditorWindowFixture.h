#pragma once
// An editor of a module in a real X server, with the module loaded as a host
// loads it (through VSTPluginMain, by the command-line host's code): the
// host's window, the editor opened, idled, clicked and closed in it, and
// what the server shows. The programs that use it take the module's path as
// their one argument and run under an Xvfb of their own (run-under-xvfb.sh);
// without a display their tests skip.
#include "PngFile.h"
#include "support/TemporarySettingsHome.h"
#include "tools/PluginInstance.h"
#include "tools/Player.h"

#include <gtest/gtest.h>

// After everything else: Xlib's macros (None, Bool, Status) would clash with names in other headers.
#include "support/WindowManagerAtoms.h"
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <mutex>
#include <set>
#include <sstream>
#include <thread>

namespace editor_window_testing
{
// The module under test: the program's one argument.
inline std::string& modulePath()
{
    static std::string path;
    return path;
}

using namespace vst;

// Every X error of the process, from our connection or the module's: the default handler would end the process.
inline int xErrors = 0;
inline std::string firstXError;

inline int countXError(Display* display, XErrorEvent* event)
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
    std::thread::id id() const { return thread.get_id(); }
    std::atomic<int> blocks { 0 };

private:
    static constexpr int blockSize = 256;
    std::vector<std::vector<float>> outputs;
    std::atomic<bool> stop { false };
    std::thread thread;
};

// A thread of the host's own that makes the editor calls, as Ardour's plug-in
// event loop does while its GUI thread makes the instance and the state
// calls: each call is made there and waited for. Told to, it also idles an
// instance every few milliseconds between calls, as the host's loop does.
class EditorCallThread
{
public:
    EditorCallThread() : thread([this] { run(); }) {}
    ~EditorCallThread()
    {
        {
            const std::lock_guard<std::mutex> lock(guard);
            stop = true;
        }
        wake.notify_all();
        thread.join();
    }

    // Runs the work on this thread; returns once it has run.
    void call(const std::function<void()>& work)
    {
        bool done = false;
        std::unique_lock<std::mutex> lock(guard);
        calls.push_back([&] {
            work();
            const std::lock_guard<std::mutex> doneLock(guard);
            done = true;
            finished.notify_all();
        });
        wake.notify_all();
        finished.wait(lock, [&] { return done; });
    }

    // Idles the instance every few milliseconds from now on; null stops (and returns once it has).
    void idleContinuously(clihost::PluginInstance* instance)
    {
        call([&] { idled = instance; });
    }

private:
    void run()
    {
        std::unique_lock<std::mutex> lock(guard);
        while (!stop)
        {
            wake.wait_for(lock, std::chrono::milliseconds(4), [&] { return stop || !calls.empty(); });
            while (!calls.empty())
            {
                auto next = std::move(calls.front());
                calls.pop_front();
                lock.unlock();
                next();
                lock.lock();
            }
            if (idled != nullptr && !stop)
            {
                lock.unlock();
                idled->idle();
                lock.lock();
            }
        }
    }

    std::mutex guard;
    std::condition_variable wake, finished;
    std::deque<std::function<void()>> calls;
    clihost::PluginInstance* idled = nullptr; // this thread's own
    bool stop = false;
    std::thread thread;
};

// What a window shows, as 8-bit RGB rows; empty when it cannot be read, as before it is viewable
// (reading an unmapped window is an X error).
struct Picture
{
    int width = 0, height = 0;
    std::vector<uint8_t> rgb;
    int brightness(int x, int y) const
    {
        const auto* pixel = &rgb[static_cast<size_t>((y * width + x) * 3)];
        return pixel[0] + pixel[1] + pixel[2];
    }
};

inline Picture capture(Display* display, Window window)
{
    XWindowAttributes attributes {};
    if (XGetWindowAttributes(display, window, &attributes) == 0 || attributes.map_state != IsViewable)
        return {};
    XImage* image = XGetImage(display, window, 0, 0, static_cast<unsigned>(attributes.width),
                              static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
    if (image == nullptr)
        return {};
    Picture picture { attributes.width, attributes.height, {} };
    picture.rgb.reserve(static_cast<size_t>(attributes.width * attributes.height * 3));
    for (int y = 0; y < attributes.height; ++y)
        for (int x = 0; x < attributes.width; ++x)
        {
            const auto pixel = XGetPixel(image, x, y); // TrueColor: 0xRRGGBB
            for (const int shift : { 16, 8, 0 })
                picture.rgb.push_back(static_cast<uint8_t>(pixel >> shift));
        }
    XDestroyImage(image);
    return picture;
}

struct Painted
{
    int colours = 0;           // distinct pixel values, counted up to 16
    double hostBackground = 1; // share of pixels still showing the host window's background
};

// How much of our window is painted; nothing while it cannot be read.
inline Painted readPixels(Display* display, Window window, unsigned long hostBackground)
{
    const auto picture = capture(display, window);
    if (picture.rgb.empty())
        return {};
    std::set<unsigned long> colours;
    long background = 0;
    for (size_t i = 0; i < picture.rgb.size(); i += 3)
    {
        const unsigned long pixel = picture.rgb[i] << 16 | picture.rgb[i + 1] << 8 | picture.rgb[i + 2];
        background += pixel == hostBackground ? 1 : 0;
        if (colours.size() < 16)
            colours.insert(pixel);
    }
    return { static_cast<int>(colours.size()),
             static_cast<double>(background) / (static_cast<double>(picture.width) * picture.height) };
}

// The width of a PNG image, from its header; 0 when unreadable.
inline int pngWidth(const std::string& path)
{
    unsigned char header[20] = {};
    std::ifstream in(path, std::ios::binary);
    in.read(reinterpret_cast<char*>(header), sizeof header);
    return in ? header[16] << 24 | header[17] << 16 | header[18] << 8 | header[19] : 0;
}

// Where each named control of the built-in skin has its top-left corner in
// the editor, as the skin document places it.
inline std::map<std::string, std::pair<int, int>> readControlPositions(const std::string& path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    const auto xml = text.str();
    std::map<std::string, std::pair<int, int>> positions;
    for (auto at = xml.find(" name=\""); at != std::string::npos; at = xml.find(" name=\"", at + 1))
    {
        const auto nameEnd = xml.find('"', at + 7);
        const auto pos = xml.find("<pos ", nameEnd);
        const auto next = xml.find(" name=\"", nameEnd);
        int left = 0, top = 0;
        if (pos != std::string::npos && (next == std::string::npos || pos < next)
            && std::sscanf(xml.c_str() + pos, "<pos left=\"%d\" top=\"%d\"", &left, &top) == 2)
            positions[xml.substr(at + 7, nameEnd - at - 7)] = { left, top };
    }
    return positions;
}

inline std::vector<Window> childrenOf(Display* display, Window window)
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

        std::string error;
        module = clihost::PluginModule::load(modulePath(), error);
        ASSERT_NE(module, nullptr) << error;
        instance = clihost::PluginInstance::create(*module, {}, error);
        ASSERT_NE(instance, nullptr) << error;
        ASSERT_NE(instance->effect()->flags & effFlagsHasEditor, 0) << modulePath() << " has no editor";
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

    // An editor opcode, made where the host makes its editor calls.
    VstIntPtr editorCall(VstInt32 opcode, void* ptr = nullptr)
    {
        VstIntPtr answer = 0;
        onEditorThread([&] { answer = instance->dispatch(opcode, 0, 0, ptr); });
        return answer;
    }
    void idleOnce()
    {
        onEditorThread([&] { instance->idle(); });
    }
    void onEditorThread(const std::function<void()>& work)
    {
        if (editorThread != nullptr)
            editorThread->call(work);
        else
            work();
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
        EXPECT_NE(editorCall(effEditGetRect, &rect), 0);
        if (rect == nullptr)
            return {};
        EXPECT_EQ(rect->top, 0);
        EXPECT_EQ(rect->left, 0);
        const int width = rect->right, height = rect->bottom;
        EXPECT_GT(width, 0);
        EXPECT_GT(height, 0);
        hostWindow = makeHostWindow(width, height);

        const auto openedAt = std::chrono::steady_clock::now();
        EXPECT_EQ(editorCall(effEditOpen, reinterpret_cast<void*>(hostWindow)), 1);
        const Milliseconds openTime = std::chrono::steady_clock::now() - openedAt;

        // Idle every few milliseconds until the editor shows; give up after five seconds.
        Painted painted;
        std::vector<Window> children;
        for (int round = 0; round < 2500 && (painted.colours < 2 || painted.hostBackground > 0.5); ++round)
        {
            idleOnce();
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
        EXPECT_EQ(editorCall(effEditClose), 0);
        EXPECT_TRUE(childrenOf(display, hostWindow).empty());
        XDestroyWindow(display, hostWindow);
        XSync(display, False);
        hostWindow = editorWindow = 0;
        for (int round = 0; round < 5; ++round)
            idleOnce();
    }

    // Idles the editor as a host does, for about that long.
    void idleFor(std::chrono::milliseconds time)
    {
        const auto end = std::chrono::steady_clock::now() + time;
        while (std::chrono::steady_clock::now() < end)
        {
            idleOnce();
            XSync(display, False);
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }

    // A click of the X server's pointer inside a control of the skin, with
    // Ctrl held when asked; the host window stands at the screen's origin.
    void click(const std::map<std::string, std::pair<int, int>>& controls, const std::string& name, bool withCtrl = false)
    {
        const auto found = controls.find(name);
        ASSERT_NE(found, controls.end()) << name;
        const KeyCode ctrl = XKeysymToKeycode(display, XK_Control_L);
        if (withCtrl)
            XTestFakeKeyEvent(display, ctrl, True, CurrentTime);
        XTestFakeMotionEvent(display, DefaultScreen(display), found->second.first + 8, found->second.second + 8, CurrentTime);
        XTestFakeButtonEvent(display, 1, True, CurrentTime);
        XTestFakeButtonEvent(display, 1, False, CurrentTime);
        if (withCtrl)
            XTestFakeKeyEvent(display, ctrl, False, CurrentTime);
        XSync(display, False);
        idleFor(std::chrono::milliseconds(40));
    }

    // Only an editor of the skin's width shows the product's skin (the test module's does not).
    bool showsTheProductsSkin()
    {
        const std::string skinDocument = PULSETTA_SKIN_XML;
        ERect* rect = nullptr;
        editorCall(effEditGetRect, &rect);
        return rect != nullptr && rect->right == pngWidth(skinDocument.substr(0, skinDocument.rfind('/')) + "/Background.png");
    }

    // The product's skin's controls, where it shows; empty, and the test skipped, for another editor.
    std::map<std::string, std::pair<int, int>> productControls()
    {
        if (!showsTheProductsSkin())
            return {};
        const std::string skinDocument = PULSETTA_SKIN_XML;
        const auto controls = readControlPositions(skinDocument);
        EXPECT_FALSE(controls.empty()) << skinDocument;
        int eventBase = 0, errorBase = 0, major = 0, minor = 0;
        EXPECT_EQ(XTestQueryExtension(display, &eventBase, &errorBase, &major, &minor), True) << "the server's XTest";
        return controls;
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
    // Where the host makes its editor calls: null for the thread that made the instance (the test's).
    std::unique_ptr<EditorCallThread> editorThread;
    testing_support::TemporarySettingsHome settingsHome { "pulsetta-editor-window-" };
    std::unique_ptr<clihost::PluginModule> module;
    std::unique_ptr<clihost::PluginInstance> instance;
};
// The program's main: every test skipped gives 77, which ctest reports as skipped.
inline int runTests(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (argc != 2)
    {
        std::cerr << "usage: " << argv[0] << " <module.so>\n";
        return 2;
    }
    modulePath() = argv[1];
    const int result = RUN_ALL_TESTS();
    const auto& tests = *::testing::UnitTest::GetInstance();
    return result == 0 && tests.skipped_test_count() == tests.test_to_run_count() ? 77 : result;
}
} // namespace editor_window_testing
