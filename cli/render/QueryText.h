#pragma once

#include <ostream>
#include <vector>

#include "render/QueryAnswers.h"

namespace fwpolicy {

// The answers of `fwpolicy query` as text: per section a decision line
// ("local: pass by rule #0 \"NAME\" (RuleId 1)"), then each listed rule
// with its answer and what it depends on, and with explain the answer of
// each part, condition and object member, indented by depth. With several
// files every decision line starts with the file's name.
void PrintQueryText(std::ostream& out, const std::vector<FileAnswer>& answers, bool explain);

}  // namespace fwpolicy
