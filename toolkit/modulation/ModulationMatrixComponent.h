#pragma once

#include "toolkit/binding/GUIController.h"
#include "toolkit/menus/PopupMenuEx.h"
#include "toolkit/modulation/ModulationMatrixModel.h"
#include "toolkit/modulation/ModulationSlider.h"
#include "toolkit/skin/TextInput.h"
#include "toolkit/widgets/ComboBoxEx.h"
#include "toolkit/widgets/ToolbarDrawableButton.h"

#include <array>

// An editor of a modulation matrix's routes: a row per route, each with its
// source, its destination and its amount, under four buttons that add a
// row, delete the selected one and move the selection (with Ctrl, the
// selected route itself) up or down. A skin places it:
//   <ModulationMatrix name="Matrix"><size width="600" height="300"/><pos left="10" top="10"/></ModulationMatrix>
// and its owner attaches the model it edits and fills the destination menus.
// Message thread.
class ModulationMatrixComponent : public GUIController,
                                  public juce::Component,
                                  public juce::Button::Listener,
                                  public juce::ChangeListener
{
public:
    class Row;

    // The table under the buttons: the column titles, and the rows in a
    // scrolling area over a plain background.
    class Table : public juce::Component
    {
    public:
        class Header : public juce::Component
        {
        public:
            void paint (juce::Graphics& g) override;
            static constexpr int height = 19;
        };

        // The scrolling area holding the rows; a click on its background
        // clears the selection.
        class ViewportComponent : public juce::Viewport
        {
        public:
            explicit ViewportComponent (ModulationMatrixComponent& owner);
            juce::Component& getRowArea() noexcept { return rowArea; }

        private:
            struct RowArea : juce::Component
            {
                explicit RowArea (ModulationMatrixComponent& matrix) : owner (matrix) {}
                void mouseDown (const juce::MouseEvent&) override; // message thread
                ModulationMatrixComponent& owner;
            };

            RowArea rowArea;
        };

        // What shows behind the rows.
        class Shape : public juce::Component
        {
        public:
            Shape() { setInterceptsMouseClicks (false, false); }
            void paint (juce::Graphics& g) override;
        };

        explicit Table (ModulationMatrixComponent& owner);

        ViewportComponent& getViewport() noexcept { return viewport; }

        // Stacks the rows from the top, as wide as the area (less the
        // scroll bar while it shows).
        void layOutRows (const juce::OwnedArray<Row>& tableRows);

        void resized() override;

    private:
        Header header;
        Shape shape;
        ViewportComponent viewport;
    };

    class Row : public juce::Component, public ComboBoxEx::Listener, public juce::Slider::Listener
    {
    public:
        Row (ModulationMatrixComponent& owner, int index);
        ~Row() override;

        // Shows the route without writing it back.
        void showRoute (const ModulationRoute& route);
        ModulationRoute getShownRoute() const;

        // The row's place, which also sets its stripe.
        void setIndex (int newIndex);
        int getIndex() const noexcept { return index; }
        void setSelected (bool shouldBeSelected);
        bool isSelected() const noexcept { return selected; }

        ComboBoxEx& getSourceBox() noexcept { return sourceBox; }
        ComboBoxEx& getDestinationBox() noexcept { return destinationBox; }
        ModulationSlider& getAmountSlider() noexcept { return amountSlider; }
        TextInput& getAmountText() noexcept { return amountText; }

        // "+0.5000" above zero, "-0.2500" or "0.0000" otherwise.
        static juce::String formatAmount (double amount);

        void paint (juce::Graphics& g) override;
        void resized() override;
        void mouseDown (const juce::MouseEvent&) override;          // message thread: selects the row
        void comboBoxExChanged (ComboBoxEx* comboBox) override;     // message thread
        void sliderValueChanged (juce::Slider* slider) override;    // message thread

        static constexpr int height = 37;

    private:
        ModulationMatrixComponent& owner;
        ComboBoxEx sourceBox, destinationBox;
        ModulationSlider amountSlider;
        TextInput amountText;
        int index;
        bool selected = false;
    };

    explicit ModulationMatrixComponent (const juce::String& name = {});
    ~ModulationMatrixComponent() override;

    void loadFromXml (const juce::XmlElement& element, SkinReader& reader) override;

    // The model shown and edited (not owned; null: none). The rows are
    // built anew from it.
    void setModel (ModulationMatrixModel* newModel);
    ModulationMatrixModel* getModel() const noexcept { return model; }

    // The destinations a source offers (source 0..8; any other id: the menu
    // of routes without a valid source), for the owner to fill.
    PopupMenuEx& getDestinationMenu (int source) noexcept;
    PopupMenuEx& getSourceMenu() noexcept { return sourceMenu; }

    int getNumRows() const noexcept { return rows.size(); }
    Row* getRow (int index) const noexcept { return rows[index]; }

    // -1 clears the selection; an index out of range too.
    void selectRow (int index);
    int getSelectedRow() const noexcept { return selectedRow; }

    juce::Button& getAddButton() noexcept { return addButton; }
    juce::Button& getDeleteButton() noexcept { return deleteButton; }
    juce::Button& getUpButton() noexcept { return upButton; }
    juce::Button& getDownButton() noexcept { return downButton; }

    void paint (juce::Graphics& g) override;
    void resized() override;
    void mouseDown (const juce::MouseEvent&) override;            // message thread: clears the selection
    void buttonClicked (juce::Button* button) override;           // message thread
    void changeListenerCallback (juce::ChangeBroadcaster* source) override; // message thread

    // Ctrl held while a move button is clicked moves the route itself.
    void moveSelection (int step, bool moveRoute);

private:
    friend class Row;

    void rebuildRows();
    void showSourceValues();
    void addRow();
    void deleteSelectedRow();
    void layOutRows();
    void routeEdited (Row& row);

    ModulationMatrixModel* model = nullptr;
    ToolbarDrawableButton addButton { "Add Row", 13 }, deleteButton { "Delete Row", 14 };
    ToolbarDrawableButton upButton { "Move Up", 6 }, downButton { "Move Down", 5 };
    PopupMenuEx sourceMenu;
    std::array<PopupMenuEx, ModulationMatrixModel::numSources + 1> destinationMenus;
    Table table { *this };
    juce::OwnedArray<Row> rows;
    int selectedRow = -1;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ModulationMatrixComponent)
};
