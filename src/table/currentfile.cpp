#include "table/currentfile.h"

namespace table {

namespace {
std::string g_currentFileName;
std::function<void(const std::string&)> g_captionListener;
bool g_unsavedChanges = false;
} // namespace

const std::string& currentFileName()
{
    return g_currentFileName;
}

void setCurrentFileName(std::string path)
{
    g_currentFileName = std::move(path);
    if (g_captionListener)
        g_captionListener(windowCaption(g_currentFileName));
}

std::string windowCaption(std::string_view fileName)
{
    if (fileName.empty())
        return std::string(kProgramTitle);
    std::string caption(fileName);
    caption += "     ";
    caption += kProgramTitle;
    return caption;
}

void setCaptionListener(std::function<void(const std::string&)> listener)
{
    g_captionListener = std::move(listener);
}

bool hasUnsavedChanges()
{
    return g_unsavedChanges;
}

void setUnsavedChanges(bool unsaved)
{
    g_unsavedChanges = unsaved;
}

} // namespace table
