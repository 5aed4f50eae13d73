#pragma once

#include <QUrl>

namespace rainbow::ui {

// Where the link labels lead. The pages are stand-ins on reserved example domains.

/// The author's blog page ("作者博客").
QUrl blogAddress();

/// The tool's home page ("青柚家园").
QUrl homeAddress();

/// The messenger's contact page for reporting errors ("提交BUG"): path msgrd with V, Uin, Site
/// and Menu in this order; the Chinese value goes out percent-encoded as UTF-8.
QUrl bugReportAddress();

} // namespace rainbow::ui
