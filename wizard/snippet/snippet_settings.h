// The settings keys generation reads and writes, with the defaults of those it reads.
#pragma once

#include <string_view>

// One place for these names until the wizard's shared key table takes them over.
namespace ostrel::snippet_settings {

inline constexpr std::string_view kApplication = "Ostrel_Plugin";
inline constexpr std::string_view kSection = "Persist_Data";

inline constexpr std::string_view kUserID = "UserID";
inline constexpr std::string_view kFormHeader = "FormHeader";
inline constexpr std::string_view kAdTracking = "AdTracking";
inline constexpr std::string_view kThankURL = "ThankURL";
inline constexpr std::string_view kMsgNo = "MsgNo";
inline constexpr std::string_view kEmailLinkText = "EmailLinkText";
inline constexpr std::string_view kMailtoLink = "MailtoLink";
inline constexpr std::string_view kTemplateFileName = "TemplateFileName";

inline constexpr std::string_view kDefaultMailtoLink = "";
inline constexpr std::string_view kDefaultTemplateFileName = "template.wtf";

}  // namespace ostrel::snippet_settings
