// Where the page of the web link lies: installed beside the game's data, or, in a
// build tree, in the source tree's data folder.
#pragma once

#include <QString>
#include <string>

namespace velmora::qt {

// A file:// URL of the first of `installedPage` and `sourcePage` that exists, or
// `fallback` when neither does.
std::string webPageUrlFrom(const QString& installedPage, const QString& sourcePage,
                           const std::string& fallback);

// The same for this executable.
std::string webPageUrl(const std::string& fallback);

// What a link button shows for `url`: a local page's title (or its file name),
// any other address as it stands.
QString linkText(const std::string& url);

}  // namespace velmora::qt
