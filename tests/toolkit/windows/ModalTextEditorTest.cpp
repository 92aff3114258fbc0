#include "support/MessageLoop.h"
#include "toolkit/windows/TestDesktop.h"

#include "toolkit/windows/ModalTextEditor.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

// No display grants focus, so the focus and key handlers are called as JUCE
// would call them.
namespace
{
struct Events : ModalTextEditor::ModalListener
{
    void modalTextChanged (ModalTextEditor*) override { seen.push_back ("changed"); }
    void modalTextCommitted (ModalTextEditor* editor) override
    {
        seen.push_back ("committed");
        if (onCommit)
            onCommit (editor);
    }
    void modalEditCancelled (ModalTextEditor*) override { seen.push_back ("cancelled"); }
    void modalEditorClosed (ModalTextEditor*) override { seen.push_back ("closed"); }

    std::vector<std::string> seen;
    std::function<void (ModalTextEditor*)> onCommit;
};

struct Editing
{
    Editing()
    {
        desktop.addAndMakeVisible (parent);
        parent.setBounds (20, 30, 200, 100);
        editor->setBounds (10, 10, 120, 20);
        editor->setText ("Kick", false);
        parent.addAndMakeVisible (*editor);
        editor->addModalListener (&events);
        editor->focusGained (juce::Component::focusChangedByMouseClick);
    }

    toolkit_test::TestDesktop desktop;
    juce::Component parent;
    Events events;
    std::unique_ptr<ModalTextEditor> editor = std::make_unique<ModalTextEditor> ("name");
};

using Seen = std::vector<std::string>;
} // namespace

TEST (ModalTextEditor, FloatsAtItsScreenPlaceAndReturnsToItsParent)
{
    Editing edit;
    auto& editor = *edit.editor;
    EXPECT_TRUE (editor.isOnDesktop());
    EXPECT_EQ (editor.getParentComponent(), nullptr);
    EXPECT_EQ (editor.getScreenPosition(), edit.parent.getScreenPosition() + juce::Point<int> (10, 10));

    editor.textEditorReturnKeyPressed (editor);

    EXPECT_FALSE (editor.isOnDesktop());
    EXPECT_EQ (editor.getParentComponent(), &edit.parent);
    EXPECT_EQ (editor.getBounds(), juce::Rectangle<int> (10, 10, 120, 20));
    EXPECT_EQ (edit.events.seen, Seen { "closed" }); // unchanged text: no commit
}

TEST (ModalTextEditor, EditThenReturnCommitsThenCloses)
{
    Editing edit;
    edit.editor->setText ("Kick 2");
    testing_support::runPendingMessages(); // the editor reports its changes from the loop
    edit.editor->textEditorReturnKeyPressed (*edit.editor);
    edit.editor->focusLost (juce::Component::focusChangedDirectly); // the focus then goes: nothing more

    EXPECT_EQ (edit.events.seen, (Seen { "changed", "committed", "closed" }));
    EXPECT_EQ (edit.editor->getKeptText(), "Kick 2");
}

TEST (ModalTextEditor, EscapeRestoresTheTextAndAClickElsewhereOnlyCloses)
{
    Editing edit;
    edit.editor->setText ("Snare", false);
    edit.editor->textEditorEscapeKeyPressed (*edit.editor);
    edit.editor->focusLost (juce::Component::focusChangedByMouseClick);

    EXPECT_EQ (edit.editor->getText(), "Kick");
    EXPECT_EQ (edit.events.seen, (Seen { "cancelled", "closed" }));
}

TEST (ModalTextEditor, EndsCommittedWhenItsParentGoesAndSurvivesAListenerDeletingIt)
{
    Editing edit;
    auto shortLived = std::make_unique<juce::Component>();
    shortLived->addAndMakeVisible (*edit.editor);
    edit.editor->focusGained (juce::Component::focusChangedByMouseClick);
    edit.editor->setText ("Tom", false);
    edit.events.onCommit = [&edit] (ModalTextEditor*) { edit.editor.reset(); };

    shortLived.reset(); // the parent goes mid-edit

    EXPECT_EQ (edit.editor, nullptr);
    EXPECT_EQ (edit.events.seen, Seen { "committed" });
}
