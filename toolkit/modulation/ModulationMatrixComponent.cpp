#include "toolkit/modulation/ModulationMatrixComponent.h"

#include "framework/core/XmlTags.h"
#include "toolkit/binding/SkinXml.h"
#include "toolkit/lookandfeel/ToolkitFonts.h"

namespace
{
const juce::Colour background { 0xffc5c5c5 };
const juce::Colour oddRow { 0xffa3a3a3 };
const juce::Colour selectedRowColour { 0xffd09b59 };
const juce::Colour headerColour { 0xff5b5b5b };

constexpr int buttonSize = 24; // pixels
constexpr int boxWidth = 150, boxHeight = 20;
constexpr int tableLeft = 8, tableTop = 4 + buttonSize + 4;
} // namespace

//==============================================================================
void ModulationMatrixComponent::Table::Header::paint (juce::Graphics& g)
{
    g.fillAll (headerColour);
    g.setColour (juce::Colours::white);
    g.setFont (toolkit::makeFont (13.0f, true));

    // Over the columns of a row.
    const int amountLeft = 4 + 2 * (boxWidth + 4) + 5;
    g.drawText ("Source", 4, 0, boxWidth, height, juce::Justification::centredLeft, true);
    g.drawText ("Destination", 4 + boxWidth + 4, 0, boxWidth, height, juce::Justification::centredLeft, true);
    g.drawText ("Amount", amountLeft, 0, juce::jmax (0, getWidth() - amountLeft - 4), height, juce::Justification::centred, true);
}

ModulationMatrixComponent::Table::ViewportComponent::ViewportComponent (ModulationMatrixComponent& owner) : rowArea (owner)
{
    setViewedComponent (&rowArea, false);
    setScrollBarsShown (true, false);
}

void ModulationMatrixComponent::Table::ViewportComponent::RowArea::mouseDown (const juce::MouseEvent&)
{
    owner.selectRow (-1);
}

void ModulationMatrixComponent::Table::Shape::paint (juce::Graphics& g)
{
    g.fillAll (background);
}

ModulationMatrixComponent::Table::Table (ModulationMatrixComponent& owner) : viewport (owner)
{
    addAndMakeVisible (header);
    addAndMakeVisible (shape);
    addAndMakeVisible (viewport);
}

void ModulationMatrixComponent::Table::resized()
{
    auto area = getLocalBounds();
    header.setBounds (area.removeFromTop (Header::height));
    shape.setBounds (area);
    viewport.setBounds (area);
}

void ModulationMatrixComponent::Table::layOutRows (const juce::OwnedArray<Row>& tableRows)
{
    auto& rowArea = viewport.getRowArea();
    const int contentHeight = tableRows.size() * Row::height;
    const bool scrolls = contentHeight > viewport.getHeight();
    const int width = viewport.getWidth() - (scrolls ? viewport.getScrollBarThickness() + 2 : 0);

    rowArea.setSize (juce::jmax (0, width), contentHeight);

    for (int i = 0; i < tableRows.size(); ++i)
        tableRows.getUnchecked (i)->setBounds (0, i * Row::height, rowArea.getWidth(), Row::height);
}

//==============================================================================
ModulationMatrixComponent::Row::Row (ModulationMatrixComponent& matrix, int rowIndex) : owner (matrix), index (rowIndex)
{
    sourceBox.getOwnMenu() = owner.sourceMenu;
    sourceBox.setSelectedId (-1, false);
    destinationBox.setExternalMenu (&owner.getDestinationMenu (-1));
    amountText.setEditable (false, false);
    amountText.setText (formatAmount (0.0));
    amountText.setJustification (juce::Justification::centredRight);

    sourceBox.addListener (this);
    destinationBox.addListener (this);
    amountSlider.addListener (this);

    for (auto* part : std::initializer_list<juce::Component*> { &sourceBox, &destinationBox, &amountSlider, &amountText })
        addAndMakeVisible (part);

    // A click anywhere on the row, its boxes and slider included, selects it.
    addMouseListener (this, true);
}

ModulationMatrixComponent::Row::~Row()
{
    removeMouseListener (this);
    amountSlider.removeListener (this);
    destinationBox.removeListener (this);
    sourceBox.removeListener (this);
}

juce::String ModulationMatrixComponent::Row::formatAmount (double amount)
{
    return amount > 0.0 ? "+" + juce::String (amount, 4) : juce::String (amount, 4);
}

void ModulationMatrixComponent::Row::showRoute (const ModulationRoute& route)
{
    sourceBox.setSelectedId (route.source, false);
    destinationBox.setExternalMenu (&owner.getDestinationMenu (route.source));
    destinationBox.setSelectedId (route.destination, false);
    amountSlider.setValue (juce::jlimit (-1.0, 1.0, static_cast<double> (route.amount)), juce::dontSendNotification);
    amountText.setText (formatAmount (amountSlider.getValue()));
}

ModulationRoute ModulationMatrixComponent::Row::getShownRoute() const
{
    return { sourceBox.getSelectedId(), destinationBox.getSelectedId(),
             static_cast<float> (juce::jlimit (-1.0, 1.0, amountSlider.getValue())) };
}

void ModulationMatrixComponent::Row::setIndex (int newIndex)
{
    if (newIndex == index)
        return;

    index = newIndex;
    repaint();
}

void ModulationMatrixComponent::Row::setSelected (bool shouldBeSelected)
{
    if (shouldBeSelected == selected)
        return;

    selected = shouldBeSelected;
    repaint();
}

void ModulationMatrixComponent::Row::paint (juce::Graphics& g)
{
    g.fillAll (selected ? selectedRowColour : (index % 2 == 0 ? background : oddRow));
}

void ModulationMatrixComponent::Row::resized()
{
    sourceBox.setBounds (4, 8, boxWidth, boxHeight);
    destinationBox.setBounds (sourceBox.getRight() + 4, 8, boxWidth, boxHeight);
    amountText.setBounds (getWidth() - 55, 8, 51, boxHeight);
    const int sliderLeft = destinationBox.getRight() + 5;
    amountSlider.setBounds (sliderLeft, 2, juce::jmax (0, amountText.getX() - sliderLeft), 30);
}

void ModulationMatrixComponent::Row::mouseDown (const juce::MouseEvent&)
{
    owner.selectRow (index);
}

void ModulationMatrixComponent::Row::comboBoxExChanged (ComboBoxEx* comboBox)
{
    if (comboBox == &sourceBox)
        destinationBox.setExternalMenu (&owner.getDestinationMenu (sourceBox.getSelectedId()));

    owner.routeEdited (*this);
}

void ModulationMatrixComponent::Row::sliderValueChanged (juce::Slider*)
{
    amountText.setText (formatAmount (amountSlider.getValue()));
    owner.routeEdited (*this);
}

//==============================================================================
ModulationMatrixComponent::ModulationMatrixComponent (const juce::String& name) : juce::Component (name)
{
    sourceMenu.setTitle ("controllerChoiceMenu");

    for (int source = 0; source < ModulationMatrixModel::numSources; ++source)
        sourceMenu.addItem (source, ModulationMatrixModel::getSourceName (source));

    for (auto* button : { &addButton, &deleteButton, &upButton, &downButton })
    {
        button->setSize (buttonSize, buttonSize);
        button->addListener (this);
        addAndMakeVisible (button);
    }

    addAndMakeVisible (table);
}

ModulationMatrixComponent::~ModulationMatrixComponent()
{
    // The model's broadcasters let go of this first.
    setModel (nullptr);

    for (auto* button : { &addButton, &deleteButton, &upButton, &downButton })
        button->removeListener (this);
}

void ModulationMatrixComponent::loadFromXml (const juce::XmlElement& element, SkinReader& reader)
{
    GUIController::loadFromXml (element, reader);

    if (! tagIs (&element, "ModulationMatrix"))
        return;

    if (const auto size = toolkit::readSize (element, reader))
        setSize (size->x, size->y);

    if (const auto position = toolkit::readPosition (element, reader))
        setTopLeftPosition (*position);
}

void ModulationMatrixComponent::setModel (ModulationMatrixModel* newModel)
{
    if (newModel == model)
        return;

    if (model != nullptr)
    {
        model->sourceValues.removeChangeListener (this);
        model->routesReplaced.removeChangeListener (this);
    }

    model = newModel;

    if (model != nullptr)
    {
        model->sourceValues.addChangeListener (this);
        model->routesReplaced.addChangeListener (this);
    }

    rebuildRows();
}

PopupMenuEx& ModulationMatrixComponent::getDestinationMenu (int source) noexcept
{
    return destinationMenus[static_cast<size_t> (ModulationMatrixModel::isSource (source) ? source : ModulationMatrixModel::numSources)];
}

void ModulationMatrixComponent::selectRow (int index)
{
    selectedRow = juce::isPositiveAndBelow (index, rows.size()) ? index : -1;

    for (auto* row : rows)
        row->setSelected (row->getIndex() == selectedRow);
}

void ModulationMatrixComponent::paint (juce::Graphics& g)
{
    const auto area = getLocalBounds().toFloat();
    g.setColour (background);
    g.fillRoundedRectangle (area.reduced (1.0f), 8.0f);
    g.setColour (juce::Colours::black);
    g.drawRoundedRectangle (area.reduced (1.5f), 8.0f, 3.0f);
}

void ModulationMatrixComponent::resized()
{
    int x = 5;

    for (auto* button : { &addButton, &deleteButton, &upButton, &downButton })
    {
        button->setTopLeftPosition (x, 4);
        x += buttonSize + 2;
    }

    table.setBounds (tableLeft, tableTop, juce::jmax (0, getWidth() - 2 * tableLeft), juce::jmax (0, getHeight() - tableTop - 8));
    layOutRows();
}

void ModulationMatrixComponent::mouseDown (const juce::MouseEvent&)
{
    selectRow (-1);
}

void ModulationMatrixComponent::buttonClicked (juce::Button* button)
{
    const bool ctrl = juce::ModifierKeys::currentModifiers.isCtrlDown();

    if (button == &addButton)
        addRow();
    else if (button == &deleteButton)
        deleteSelectedRow();
    else if (button == &upButton)
        moveSelection (-1, ctrl);
    else if (button == &downButton)
        moveSelection (1, ctrl);
}

void ModulationMatrixComponent::changeListenerCallback (juce::ChangeBroadcaster* source)
{
    if (model == nullptr)
        return;

    if (source == &model->routesReplaced)
        rebuildRows();
    else if (source == &model->sourceValues)
        showSourceValues();
}

void ModulationMatrixComponent::rebuildRows()
{
    rows.clear();
    selectedRow = -1;
    const int count = model != nullptr ? model->getNumRoutes() : 0;

    for (int i = 0; i < count; ++i)
    {
        auto* row = rows.add (std::make_unique<Row> (*this, i));
        row->showRoute (model->getRoute (i));
        table.getViewport().getRowArea().addAndMakeVisible (row);
    }

    layOutRows();
    showSourceValues();
}

void ModulationMatrixComponent::showSourceValues()
{
    if (model == nullptr)
        return;

    for (auto* row : rows)
    {
        const int source = row->getSourceBox().getSelectedId();

        if (ModulationMatrixModel::isSource (source))
            row->getAmountSlider().setLevel (juce::jlimit (-1.0f, 1.0f, model->getSourceValue (source)));
    }
}

void ModulationMatrixComponent::addRow()
{
    if (model == nullptr)
        return;

    auto* row = rows.add (std::make_unique<Row> (*this, rows.size()));
    table.getViewport().getRowArea().addAndMakeVisible (row);
    model->addRoute();
    layOutRows();
    selectRow (selectedRow);
}

void ModulationMatrixComponent::deleteSelectedRow()
{
    if (model == nullptr || ! juce::isPositiveAndBelow (selectedRow, rows.size()))
        return;

    model->removeRoute (selectedRow);
    rows.remove (selectedRow);

    for (int i = 0; i < rows.size(); ++i)
        rows.getUnchecked (i)->setIndex (i);

    layOutRows();
    selectRow (juce::jmin (selectedRow, rows.size() - 1));
}

void ModulationMatrixComponent::moveSelection (int step, bool moveRoute)
{
    const int target = selectedRow + step;

    if (! juce::isPositiveAndBelow (selectedRow, rows.size()) || ! juce::isPositiveAndBelow (target, rows.size()))
        return;

    if (moveRoute && model != nullptr)
    {
        model->swapRoutes (selectedRow, target);
        rows.swap (selectedRow, target);
        rows.getUnchecked (selectedRow)->setIndex (selectedRow);
        rows.getUnchecked (target)->setIndex (target);
        layOutRows();
    }

    selectRow (target);
}

void ModulationMatrixComponent::layOutRows()
{
    table.layOutRows (rows);
}

void ModulationMatrixComponent::routeEdited (Row& row)
{
    if (model != nullptr)
        model->setRoute (row.getIndex(), row.getShownRoute());
}
