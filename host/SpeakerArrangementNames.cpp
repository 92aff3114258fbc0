#include "host/SpeakerArrangementNames.h"

namespace host
{
const char* speakerArrangementText(vst::VstInt32 type) noexcept
{
    // Indexed by arrangement type. Types 17 and 20 end with a blank: processors compare these texts as given.
    static constexpr const char* texts[] = {
        "M",
        "L R",
        "Ls Rs",
        "Lc Rc",
        "Sl Sr",
        "C Lfe",
        "L R C",
        "L R S",
        "L R C Lfe",
        "L R Lfe S",
        "L R C S",
        "L R Ls Rs",
        "L R C Lfe S",
        "L R Lfe Ls Rs",
        "L R C Ls Rs",
        "L R C Lfe Ls Rs",
        "L R C Ls Rs Cs",
        "L R Ls Rs Sl Sr ",
        "L R C Lfe Ls Rs Cs",
        "L R Lfe Ls Rs Sl Sr",
        "L R C Ls Rs Lc Rc ",
        "L R C Ls Rs Sl Sr",
        "L R C Lfe Ls Rs Lc Rc",
        "L R C Lfe Ls Rs Sl Sr",
        "L R C Ls Rs Lc Rc Cs",
        "L R C Ls Rs Cs Sl Sr",
        "L R C Lfe Ls Rs Lc Rc Cs",
        "L R C Lfe Ls Rs Cs Sl Sr",
        "L R C Lfe Ls Rs Tfl Tfc Tfr Trl Trr Lfe2",
    };
    constexpr auto count = static_cast<vst::VstInt32>(sizeof texts / sizeof texts[0]);
    return type >= 0 && type < count ? texts[type] : "";
}
} // namespace host
