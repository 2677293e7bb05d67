#pragma once

#include <functional>
#include <string>
#include <string_view>

// The measurement file the table belongs to, the window caption that shows it, and whether
// the table still agrees with it. Every command changes the file through setCurrentFileName,
// so the caption can never disagree.
namespace table {

inline constexpr std::string_view kProgramTitle = "Vexorel!";

const std::string& currentFileName();
void setCurrentFileName(std::string path);

// "Vexorel!" without a file, else the path, five spaces and "Vexorel!".
std::string windowCaption(std::string_view fileName);

// The main window shows the caption; there is one listener at a time.
void setCaptionListener(std::function<void(const std::string&)> listener);

// Whether the table holds changes that are in no file: what closing the window would lose.
// Commands that change rows set it; those that make the table and a file agree clear it.
bool hasUnsavedChanges();
void setUnsavedChanges(bool unsaved);

} // namespace table
