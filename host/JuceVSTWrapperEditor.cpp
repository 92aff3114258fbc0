#include "host/EditorCompWrapper.h"
#include "host/HostWindow.h"
#include "host/MessagePump.h"

#include <limits>

// The processor's editor inside the host's window: the editor opcodes, the
// host component, and the binding's housekeeping timer that the first
// opening of the editor starts.
//
// On Linux the host's window is an X11 window; JUCE makes our window its
// child when the host component joins the desktop with it as the parent.
// Everything here runs on the message thread. The editor opcodes and the
// idle calls come inside the host call gate, which makes the thread the
// host calls them on the message thread (a host may make its editor calls
// on a thread of their own); they answer 0 on any other thread rather than
// wait for one the host may itself be holding.
namespace host
{
using namespace vst;

namespace
{
constexpr int housekeepingIntervalMs = 250;

VstInt16 rectSide(int pixels)
{
    return static_cast<VstInt16>(juce::jlimit(0, static_cast<int>(std::numeric_limits<VstInt16>::max()), pixels));
}

// Our window leaves the host's with the editor, and the release of a mouse button held over it would
// reach nothing: JUCE would go on taking the next press for the same drag. The button is let go here, as
// the user would, so that what the press began (a knob's turn and its host gesture) ends now, keeping
// the value it reached.
void releaseMouseButtonsHeldOver(juce::Component& window)
{
    auto* peer = window.getPeer();
    if (peer == nullptr)
        return;
    const auto released = juce::ModifierKeys::currentModifiers.withoutMouseButtons();
    bool releasedAny = false;
    const auto sources = juce::Desktop::getInstance().getMouseSources();
    for (const auto& source : sources)
    {
        auto* pressed = source.getComponentUnderMouse();
        if (!source.isDragging() || pressed == nullptr || (pressed != &window && !window.isParentOf(pressed)))
            continue;
        peer->handleMouseEvent(source.getType(), peer->globalToLocal(source.getScreenPosition()), released,
                               source.getCurrentPressure(), source.getCurrentOrientation(),
                               juce::Time::currentTimeMillis());
        releasedAny = true;
    }
    if (releasedAny)
        juce::ModifierKeys::currentModifiers = released;
}
} // namespace

JuceVSTWrapper::EditorCompWrapper::EditorCompWrapper(JuceVSTWrapper& wrapper,
                                                     std::unique_ptr<juce::AudioProcessorEditor> ownedEditor)
    : owner(wrapper), editor(std::move(ownedEditor))
{
    setOpaque(true);
    setBounds(editor->getBounds());
    editor->setTopLeftPosition(0, 0);
    addAndMakeVisible(*editor);
}

void JuceVSTWrapper::EditorCompWrapper::resized()
{
    if (editor != nullptr)
        editor->setBounds(getLocalBounds());
}

void JuceVSTWrapper::EditorCompWrapper::childBoundsChanged(juce::Component* child)
{
    if (child == nullptr || child != editor.get())
        return;
    child->setTopLeftPosition(0, 0);
    const int width = child->getWidth(), height = child->getHeight();
    owner.resizeHostWindow(width, height);
    setSize(width, height);
}

VstIntPtr JuceVSTWrapper::dispatchEditorOpcode(VstInt32 opcode, void* ptr)
{
    switch (opcode)
    {
    case effEditGetRect: return getEditorRect(static_cast<ERect**>(ptr));
    case effEditOpen: return isMessageThread() ? openEditor(ptr) : 0;
    case effEditClose:
        if (isMessageThread())
            deleteEditor(true);
        return 0;
    default: return 0;
    }
}

// The editor component is created here already, so the size is the one the window will have.
VstIntPtr JuceVSTWrapper::getEditorRect(ERect** rect)
{
    if (rect == nullptr)
        return 0;
    *rect = nullptr;
    if (!isMessageThread())
        return 0;
    createEditorComp();
    if (editorComp == nullptr)
        return 0;
    editorRect = { 0, 0, rectSide(editorComp->getHeight()), rectSide(editorComp->getWidth()) };
    *rect = &editorRect;
    return reinterpret_cast<VstIntPtr>(&editorRect);
}

// `window` is the host's native window (an X11 window id); without one there is nothing to open into.
VstIntPtr JuceVSTWrapper::openEditor(void* window)
{
    startTimer(housekeepingIntervalMs);
    if (window == nullptr)
        return 0;
    deleteEditor(true);
    // A modal window still held the old component: rather than lose the window the host is opening
    // to the pending deletion, that component serves it.
    if (editorComp != nullptr)
        shouldDeleteEditor = false;
    createEditorComp();
    if (editorComp == nullptr)
        return 0;
    editorComp->setOpaque(true);
    editorComp->setVisible(false);
    editorComp->addToDesktop(0, window);
    hostWindow = window;
    isEditorInHostWindow = true;
    editorComp->setVisible(true);
    return 1;
}

void JuceVSTWrapper::createEditorComp()
{
    if (hasShutDown || processor == nullptr || editorComp != nullptr)
        return;
    if (auto* editor = processor->createEditorIfNeeded())
    {
        setEditorFlag(true);
        editor->setOpaque(true);
        editor->setVisible(true);
        editorComp = std::make_unique<EditorCompWrapper>(*this, std::unique_ptr<juce::AudioProcessorEditor>(editor));
    }
    else
    {
        setEditorFlag(false);
    }
    shouldDeleteEditor = false;
}

void JuceVSTWrapper::deleteEditor(bool canDeferDelete)
{
    if (editorComp == nullptr)
        return;
    const BindingBusy busy;
    // While our window is still in the host's (the host sends no idle call after this one).
    endWhatTheUserHasUnderWay();
    if (auto* modal = juce::Component::getCurrentlyModalComponent())
    {
        modal->exitModalState(0);
        if (canDeferDelete)
        {
            // The host destroys its window as soon as this call returns, and our window with it: ours
            // leaves it now, and the component goes at the next tick, once the modal window has let go.
            editorComp->removeFromDesktop();
            isEditorInHostWindow = false;
            shouldDeleteEditor = true;
            return;
        }
    }
    if (auto* editor = editorComp->getEditor())
    {
        const juce::ScopedLock lock(processor->getCallbackLock());
        processor->editorBeingDeleted(editor);
    }
    editorComp.reset();
    isEditorInHostWindow = false;
    hostWindow = keyboardFocusBeforeOurs = nullptr;
    shouldDeleteEditor = false;
}

// Hidden, the editor ends its edits and closes its menus and dialogs; then a held button is let go, so a
// drag ends over nothing and drops nothing; and the picture of a drag fading out, a window of its own
// that only idle calls would take away, goes at once.
void JuceVSTWrapper::endWhatTheUserHasUnderWay()
{
    juce::PopupMenu::dismissAllActiveMenus();
    editorComp->setVisible(false);
    releaseMouseButtonsHeldOver(*editorComp);
    juce::Desktop::getInstance().getAnimator().cancelAllAnimations(true);
}

// A host may hide its window and show it again without a call (Ardour's close button only unmaps its
// plug-in window): hidden, the editor ends what the user has under way in it, as at effEditClose;
// shown again, the editor shows and paints.
void JuceVSTWrapper::followHostWindowVisibility()
{
    if (editorComp == nullptr || !isEditorInHostWindow || BindingBusy::isSet())
        return;
    const auto viewable = isWindowViewable(hostWindow);
    if (!viewable.has_value() || *viewable == editorComp->isVisible())
        return;
    const BindingBusy busy;
    if (*viewable)
        editorComp->setVisible(true);
    else
        endWhatTheUserHasUnderWay();
}

// A host that sizes its window on request gets the editor's size; otherwise only our own window follows.
void JuceVSTWrapper::resizeHostWindow(int width, int height)
{
    if (isEditorInHostWindow && canHostDo("sizeWindow"))
        sizeWindow(width, height);
}

void JuceVSTWrapper::close()
{
    stopTimer();
    deleteEditor(false);
}

// effEditIdle and effIdle: due timers, posted messages, window events and pending repaints.
//
// The host is never asked for idle time (audioMasterIdle) while a mouse button is held on the editor.
// That call makes up for a host whose own timers starve while a drag floods its thread with mouse
// input. Here the editor's X events come on JUCE's own connection to the server, which the host never
// reads, and are handled only inside these calls, each bounded: the host's thread is never held, so
// its idle work goes on as usual. And the only place to ask from would be inside the host's own idle
// call, which would only enter the host again.
void JuceVSTWrapper::idle()
{
    followHostWindowVisibility();
    noteWhoHasTheKeyboard();
    if (drainMessageQueue())
        keepTheKeyboardOnlyWhileItIsUsed();
}

// Keys belong to the host (its transport keys, its shortcuts) unless the editor has a use for them: a
// text being edited, a window that Escape closes or an open menu, which hold JUCE's keyboard focus while
// they are there. A click anywhere in the editor makes JUCE give our
// window the X keyboard focus; once nothing of ours wants keys, the focus goes back to the window that
// had it before ours, or else to the host's.
void JuceVSTWrapper::keepTheKeyboardOnlyWhileItIsUsed()
{
    if (editorComp == nullptr || !isEditorInHostWindow || !editorComp->isVisible())
        return;
    auto* focus = keyboardFocusWindow();
    if (focus == nullptr || !isOneOfOurWindows(focus) || editorHasAUseForTheKeyboard())
        return;
    if (keyboardFocusBeforeOurs == nullptr || !giveKeyboardFocusTo(keyboardFocusBeforeOurs))
        giveKeyboardFocusTo(hostWindow);
}

// Before the editor's events are handled: whoever has the keyboard then, if not one of ours, is whom
// it goes back to.
void JuceVSTWrapper::noteWhoHasTheKeyboard()
{
    if (editorComp == nullptr || !isEditorInHostWindow)
        return;
    if (auto* focus = keyboardFocusWindow(); focus != nullptr && !isOneOfOurWindows(focus))
        keyboardFocusBeforeOurs = focus;
}

// A component of the editor that holds JUCE's keyboard focus and wants it has a use for keys: a text
// editor, a window that Escape closes, an open menu, a name display being edited. Controls pressed with
// the mouse never want it; the editor and our host component only pass it on.
bool JuceVSTWrapper::editorHasAUseForTheKeyboard() const
{
    const auto* focused = juce::Component::getCurrentlyFocusedComponent();
    return focused != nullptr && focused->isShowing() && focused->getWantsKeyboardFocus()
           && focused != editorComp.get() && focused != editorComp->getEditor();
}

void JuceVSTWrapper::timerCallback()
{
    if (std::exchange(shouldDeleteEditor, false))
        deleteEditor(true);
    chunk.releaseIfOlderThan(juce::Time::getApproximateMillisecondCounter());
}
} // namespace host
