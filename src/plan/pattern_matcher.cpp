#include "plan/pattern_matcher.h"

#include <boost/regex.hpp>
#include <vector>

namespace plan {

struct PatternMatcher::State {
  boost::regex engine;
  std::string pattern;
  std::string subject;  // the matches point into it, so copies share it
  bool global = true;
  std::vector<boost::smatch> matches;
};

PatternMatcher::PatternMatcher() = default;
PatternMatcher::~PatternMatcher() = default;
PatternMatcher::PatternMatcher(const PatternMatcher&) = default;
PatternMatcher& PatternMatcher::operator=(const PatternMatcher&) = default;

bool PatternMatcher::Execute(std::string_view pattern, std::string_view subject, bool caseSensitive,
                             bool multiline, bool global) {
  state_.reset();
  auto state = std::make_shared<State>();
  state->pattern.assign(pattern);
  state->subject.assign(subject);
  state->global = global;
  auto flags = boost::regex_constants::ECMAScript | boost::regex_constants::no_mod_s;
  if (!caseSensitive) flags |= boost::regex_constants::icase;
  if (!multiline) flags |= boost::regex_constants::no_mod_m;
  try {
    state->engine.assign(state->pattern, flags);
    for (boost::sregex_iterator it(state->subject.cbegin(), state->subject.cend(), state->engine),
         end;
         it != end; ++it) {
      state->matches.push_back(*it);
      if (!global) break;
    }
  } catch (const std::runtime_error&) {
    // An invalid pattern, or one too complex to run on this subject.
    return false;
  }
  state_ = std::move(state);
  return true;
}

std::string PatternMatcher::Pattern() const { return state_ ? state_->pattern : std::string(); }

std::string PatternMatcher::Replace(std::string_view replacement) const {
  if (!state_) return {};
  auto flags = boost::regex_constants::format_default;
  if (!state_->global) flags |= boost::regex_constants::format_first_only;
  return boost::regex_replace(state_->subject, state_->engine, std::string(replacement), flags);
}

int PatternMatcher::MatchCount() const {
  return state_ ? static_cast<int>(state_->matches.size()) : 0;
}

std::string PatternMatcher::MatchText(int i, int* position) const {
  if (i < 1 || i > MatchCount()) return {};
  const auto& match = state_->matches[static_cast<std::size_t>(i - 1)];
  if (position) *position = static_cast<int>(match.position());
  return match.str();
}

std::string PatternMatcher::SubMatchText(int i, int k, int* position) const {
  if (i < 1 || i > MatchCount()) return {};
  const auto& match = state_->matches[static_cast<std::size_t>(i - 1)];
  if (k < 1 || static_cast<std::size_t>(k) >= match.size()) return {};
  if (position && match[k].matched) *position = static_cast<int>(match.position(k));
  return match.str(k);
}

int PatternMatcher::SubMatchCount() const {
  if (MatchCount() == 0) return 0;
  return static_cast<int>(state_->matches.front().size()) - 1;
}

}  // namespace plan
