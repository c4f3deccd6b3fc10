#pragma once
// What a command saw and decided, stage by stage, recorded by the executor itself while
// it runs without acting (see explain.h), so the account cannot differ from the deed.

#include <cstddef>
#include <string>
#include <vector>

#include "engine/command.h"
#include "engine/fixed_position.h"
#include "engine/link_search.h"
#include "engine/smart_fallback.h"
#include "engine/url_template.h"

namespace paginor {

struct LinkTrace {
  long index = 0;
  MatchTrace seen;      // candidate text, keyword verdict, rules tried
  std::string address;  // as the browser reports it
  MatchKind kind = MatchKind::None;  // ReadFailed: the link stage ended here
};

struct Explanation {
  std::string command;
  Origin origin = Origin::Keyboard;
  std::vector<std::string> notes;  // browser, frame, disable test, and where it stopped

  std::string docURL;
  bool linkStage = false;
  std::string setName;                 // "下页", ...
  std::vector<std::string> setLines;   // as stored
  std::vector<RuleTrial> setVerdicts;  // lines no link can hit, whatever the link
  long linkCount = 0;
  std::vector<LinkTrace> links;        // the links examined, in order
  bool linkStageEnded = false;         // a read failed: the rest of the links were not asked

  bool templateStage = false;
  std::vector<TemplateTrial> templates;
  bool positionStage = false;
  std::vector<PositionTrial> positions;
  bool smartStage = false;
  bool smartEnabled = false;
  SmartDecision smart;

  std::vector<std::string> log;      // the operation log's lines, as the command writes them
  std::vector<std::string> actions;  // what the command does to the browser; empty: nothing
};

}  // namespace paginor
