// The editor opcodes driven directly, without a display (the window is a
// made-up id; the real X server test is EditorWindowTest): the rectangle,
// the persistent editor surviving close and reopen, a close while a modal
// window is up, and the editor's own size changes reaching the host.
#include "RecordingProcessor.h"

#include "host/JuceVSTWrapper.h"

#include <gtest/gtest.h>

#include <functional>
#include <thread>

using namespace vst;

namespace
{
struct HostAnswers
{
    bool sizesItsWindow = false;
    std::vector<std::pair<VstInt32, VstIntPtr>> sizeRequests; // width, height
};
HostAnswers answers;

VstIntPtr fakeHost(vst::AEffect*, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float)
{
    switch (opcode)
    {
    case audioMasterVersion: return kVstVersion;
    case audioMasterCanDo: return answers.sizesItsWindow && juce::String(static_cast<const char*>(ptr)) == "sizeWindow";
    case audioMasterSizeWindow: answers.sizeRequests.emplace_back(index, value); return answers.sizesItsWindow;
    default: return 0;
    }
}

void* const hostWindow = reinterpret_cast<void*>(0x1234);

struct Binding
{
    explicit Binding(recording::Editor editor = recording::Editor::persistent)
        : Binding(recording::createProcessor(editor))
    {
    }
    explicit Binding(std::unique_ptr<HostedProcessor> owned) : processor(*owned), wrapper(fakeHost, std::move(owned))
    {
        answers = {};
        dispatch(effOpen);
    }
    VstIntPtr dispatch(VstInt32 opcode, void* ptr = nullptr) { return wrapper.dispatcher(opcode, 0, 0, ptr, 0.0f); }
    ERect* getRect()
    {
        ERect* rect = nullptr;
        dispatch(effEditGetRect, &rect);
        return rect;
    }
    // The host component in the host's window, if the editor is there.
    juce::Component* shownComponent() const
    {
        auto* editor = processor.getActiveEditor();
        auto* hostComponent = editor != nullptr ? editor->getParentComponent() : nullptr;
        return hostComponent != nullptr && hostComponent->isOnDesktop() ? hostComponent : nullptr;
    }
    juce::Component* persistentEditor() const
    {
        auto* editor = processor.getActiveEditor();
        return editor != nullptr ? editor->getChildComponent(0) : nullptr;
    }
    // Gives the host's idle calls, as a host does while the editor is open, for `ms` milliseconds or until `done`.
    void idleFor(int ms, const std::function<bool()>& done = [] { return false; })
    {
        const auto end = juce::Time::getMillisecondCounter() + static_cast<juce::uint32>(ms);
        while (juce::Time::getMillisecondCounter() < end && !done())
        {
            dispatch(effEditIdle);
            juce::Thread::sleep(5);
        }
    }
    HostedProcessor& processor; // owned by the wrapper
    host::JuceVSTWrapper wrapper;
};

constexpr int twoTicks = 600; // ms; the binding's housekeeping runs every 250 ms

// A modal window of the kind an editor puts up, entered without the keyboard focus.
struct ModalWindow : juce::Component
{
    ModalWindow() { enterModalState(false); }
};
} // namespace

// Asked on a thread of the host's other than the one that made the instance,
// the rectangle is there too: that thread becomes the message thread.
TEST(EditorHosting, GetRectBeforeOpenGivesTheEditorsSizeAtTheOriginOnWhicheverThreadAsks)
{
    Binding binding;
    ERect* fromAnotherThread = nullptr;
    std::thread([&] { binding.wrapper.dispatcher(effEditGetRect, 0, 0, &fromAnotherThread, 0.0f); }).join();
    ASSERT_NE(fromAnotherThread, nullptr);
    EXPECT_EQ(fromAnotherThread->right, recording::editorWidth);

    const ERect* rect = binding.getRect();
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->top, 0);
    EXPECT_EQ(rect->left, 0);
    EXPECT_EQ(rect->bottom, recording::editorHeight);
    EXPECT_EQ(rect->right, recording::editorWidth);
    EXPECT_NE(binding.wrapper.getAeffect()->flags & effFlagsHasEditor, 0);
    EXPECT_EQ(binding.shownComponent(), nullptr);
}

TEST(EditorHosting, WithoutAnEditorThereIsNoRectangleAndNothingOpens)
{
    Binding binding(recording::Editor::none);
    EXPECT_EQ(binding.wrapper.getAeffect()->flags & effFlagsHasEditor, 0);
    ERect sentinel {};
    ERect* rect = &sentinel;
    EXPECT_EQ(binding.dispatch(effEditGetRect, &rect), 0);
    EXPECT_EQ(rect, nullptr);
    EXPECT_EQ(binding.dispatch(effEditOpen, hostWindow), 0);
    EXPECT_EQ(binding.dispatch(effEditClose), 0);
}

TEST(EditorHosting, CloseAndReopenShowTheSamePersistentEditor)
{
    Binding binding;
    ASSERT_EQ(binding.dispatch(effEditOpen, hostWindow), 1);
    ASSERT_NE(binding.shownComponent(), nullptr);
    const juce::Component::SafePointer<juce::Component> editor(binding.persistentEditor());
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(editor->isShowing());

    binding.dispatch(effEditClose);
    EXPECT_EQ(binding.processor.getActiveEditor(), nullptr);
    const auto* kept = editor.getComponent(); // the window's wrapper went, the editor did not
    ASSERT_NE(kept, nullptr);
    EXPECT_FALSE(kept->isVisible());
    EXPECT_EQ(kept->getParentComponent(), nullptr);

    ASSERT_EQ(binding.dispatch(effEditOpen, hostWindow), 1);
    EXPECT_EQ(binding.persistentEditor(), editor.getComponent());
    EXPECT_TRUE(editor->isShowing());
}

TEST(EditorHosting, ACloseWithAModalWindowUpLeavesTheHostsWindowAtOnceAndDeletesAtTheNextTick)
{
    Binding binding;
    ASSERT_EQ(binding.dispatch(effEditOpen, hostWindow), 1);
    ModalWindow modal;

    binding.dispatch(effEditClose);
    EXPECT_FALSE(modal.isCurrentlyModal());
    EXPECT_NE(binding.processor.getActiveEditor(), nullptr);
    EXPECT_EQ(binding.shownComponent(), nullptr); // out of the window the host is about to destroy

    binding.idleFor(10 * twoTicks, [&] { return binding.processor.getActiveEditor() == nullptr; });
    EXPECT_EQ(binding.processor.getActiveEditor(), nullptr);
}

TEST(EditorHosting, AnOpenWhileTheDeletionWaitsKeepsTheNewlyOpenedEditor)
{
    Binding binding;
    ASSERT_EQ(binding.dispatch(effEditOpen, hostWindow), 1);
    ModalWindow underneath, onTop; // the close ends only the one on top
    binding.dispatch(effEditClose);

    ASSERT_EQ(binding.dispatch(effEditOpen, hostWindow), 1);
    binding.idleFor(twoTicks);
    EXPECT_NE(binding.shownComponent(), nullptr);
    EXPECT_NE(binding.persistentEditor(), nullptr);
    EXPECT_FALSE(underneath.isCurrentlyModal());
}

TEST(EditorHosting, TheEditorsOwnSizeChangeResizesTheHostsWindowWhenTheHostCanElseOnlyOurs)
{
    for (const bool hostSizesItsWindow : { true, false })
    {
        Binding binding;
        answers.sizesItsWindow = hostSizesItsWindow;
        ASSERT_EQ(binding.dispatch(effEditOpen, hostWindow), 1);
        auto* editor = binding.persistentEditor();
        ASSERT_NE(editor, nullptr);
        editor->setSize(400, 300);

        const std::vector<std::pair<VstInt32, VstIntPtr>> asked { { 400, 300 } };
        EXPECT_EQ(answers.sizeRequests, hostSizesItsWindow ? asked : decltype(asked) {});
        const auto* shown = binding.shownComponent();
        ASSERT_NE(shown, nullptr);
        EXPECT_EQ(shown->getBounds(), juce::Rectangle<int>(0, 0, 400, 300));
        const ERect* rect = binding.getRect();
        ASSERT_NE(rect, nullptr);
        EXPECT_EQ(rect->right, 400);
        EXPECT_EQ(rect->bottom, 300);
    }
}
