#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace plan {

// One pattern run over one subject text, with access to the matches, their
// groups and a replace. ECMAScript syntax; "." never matches a line end.
// Copies share the compiled pattern, the subject and the matches of the last
// Execute; a new Execute on one copy leaves the others as they were.
class PatternMatcher {
 public:
  PatternMatcher();
  ~PatternMatcher();
  PatternMatcher(const PatternMatcher&);
  PatternMatcher& operator=(const PatternMatcher&);

  // False when the pattern does not compile; true otherwise, also with no
  // match. Every call starts from a fresh engine.
  bool Execute(std::string_view pattern, std::string_view subject, bool caseSensitive = false,
               bool multiline = true, bool global = true);

  // "" before the first Execute.
  std::string Pattern() const;
  // The pattern's replace applied to the subject of the last Execute ($1.. and
  // $& refer to groups).
  std::string Replace(std::string_view replacement) const;

  int MatchCount() const;
  // i and k are 1-based; position, when asked for, receives the 0-based byte
  // offset. Indices outside the matches give "" and leave position alone.
  std::string MatchText(int i, int* position = nullptr) const;
  std::string SubMatchText(int i, int k, int* position = nullptr) const;
  // The number of capture groups of the first match, 0 without a match.
  int SubMatchCount() const;

 private:
  struct State;
  std::shared_ptr<const State> state_;
};

}  // namespace plan
