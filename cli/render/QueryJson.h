#pragma once

#include <vector>

#include <nlohmann/json.hpp>

#include "render/QueryAnswers.h"

namespace fwpolicy {

// The answers of `fwpolicy query --json` as one object, in the form
// docs/query.schema.json describes: the overall decision and exit status,
// and per file and section the decision, the deciding rule's position and
// the rules that match or may match with their parts, dependencies and
// (with explain) explanations. status is QueryExitStatus(answers).
nlohmann::json QueryJson(const std::vector<FileAnswer>& answers, int status, bool explain);

}  // namespace fwpolicy
