#pragma once

#include <functional>
#include <string>
#include <string_view>

// The measurement file the table belongs to, and the window caption that shows it. Every
// command changes it through setCurrentFileName, so the caption can never disagree.
namespace table {

inline constexpr std::string_view kProgramTitle = "Vexorel!";

const std::string& currentFileName();
void setCurrentFileName(std::string path);

// "Vexorel!" without a file, else the path, five spaces and "Vexorel!".
std::string windowCaption(std::string_view fileName);

// The main window shows the caption; there is one listener at a time.
void setCaptionListener(std::function<void(const std::string&)> listener);

} // namespace table
