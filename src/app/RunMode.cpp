#include "app/RunMode.h"

RunMode selectRunMode(std::string_view commandLine) {
    if (commandLine.find("-Favorites") != std::string_view::npos) return RunMode::Favorites;
    if (commandLine.find("-Archiv") != std::string_view::npos) return RunMode::Archive;
    return RunMode::None;
}
