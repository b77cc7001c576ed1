// The balloon texts callers give for a vehicle or a marker are HTML
// snippets ("<span class ='b'>speed:</span>45 km/h <marquee ...>"); the map
// shows them as a plain-text tooltip.
#pragma once

#include <string>

namespace geodraw {

// Tags removed (<br> and <p> become line breaks), the entities &amp; &lt;
// &gt; &quot; &apos; &nbsp; and &#N; / &#xN; decoded, runs of white space
// folded into one space, each line trimmed, empty lines dropped. A '<' that
// does not open a tag (not followed by a letter, '/' or '!', or never
// closed) is kept as text.
std::wstring TooltipText(const std::wstring& balloon);

}  // namespace geodraw
