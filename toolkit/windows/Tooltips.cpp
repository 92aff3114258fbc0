#include "toolkit/windows/Tooltips.h"

void hideTooltipsOver (juce::Component& component)
{
    for (auto* level = &component; level != nullptr; level = level->getParentComponent())
        for (auto* child : level->getChildren())
            if (auto* tooltips = dynamic_cast<juce::TooltipWindow*> (child))
                tooltips->hideTip();
}
