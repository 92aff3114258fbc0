#pragma once

#include <string>

// Where a user's own files live on this system, in place of the Windows
// application-data folders. Everything that reads or writes the user's
// settings goes through these two functions, so tests can point them at a
// temporary folder.
namespace platform
{
// Any thread. The per-user application-data folder: $XDG_CONFIG_HOME, else
// ~/.config; the redirected folder while a test has set one. No trailing slash.
std::string getUserApplicationDataFolder();

// The machine-wide application-data folder (skin packages live under it):
// /usr/local/share, or the redirected folder while a test has set one.
std::string getCommonApplicationDataFolder();

// Tests only: redirect both folders (an empty path ends the redirection).
// Call it before any instance is created; it is not synchronised with readers.
void redirectApplicationDataFolders (const std::string& folder);
} // namespace platform
