#include "favorites/ChromiumLocalState.h"

#include <nlohmann/json.hpp>

std::vector<ChromiumProfileEntry> parseLocalStateProfiles(std::string_view json) {
    using Json = nlohmann::json;
    std::vector<ChromiumProfileEntry> profiles;
    Json document = Json::parse(json.begin(), json.end(), nullptr, false);
    if (document.is_discarded() || !document.is_object()) return profiles;
    auto profile = document.find("profile");
    if (profile == document.end() || !profile->is_object()) return profiles;
    auto cache = profile->find("info_cache");
    if (cache == profile->end() || !cache->is_object()) return profiles;
    for (const auto& [folder, info] : cache->items()) {
        if (folder.empty() || !info.is_object()) continue;
        auto name = info.find("name");
        profiles.push_back(
            {folder, name != info.end() && name->is_string() ? name->get<std::string>() : folder});
    }
    return profiles;
}
