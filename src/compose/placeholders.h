// The grey texts an empty address field shows.
#pragma once

constexpr const char* kToPlaceholder = "< click here to enter recipients >";
constexpr const char* kCcPlaceholder = "< click here to enter carbon copy recipients >";
constexpr const char* kBccPlaceholder = "< click here to enter blind carbon copy recipients >";
constexpr const char* kSubjectPlaceholder = "< click here to enter subject text >";

// The placeholder of the To (1071), CC, BCC or Subject (1074) edit; nullptr for other ids.
const char* PlaceholderForField(int editId);
