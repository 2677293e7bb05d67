#pragma once

#include "app/forms.h"
#include "support/answeringprompter.h"
#include "ui/prompts.h"

#include <filesystem>
#include <fstream>
#include <string>

// The program's windows started in a scratch folder of their own, with a one-bullet list
// and every question answered; all gone again with the object.
class BenchWindows {
public:
    explicit BenchWindows(const std::string& name)
        : m_dir(std::filesystem::temp_directory_path() / name)
    {
        std::filesystem::create_directories(m_dir);
        std::ofstream(m_dir + "/Bullets.vx!") << "JSB\r\n0,547\r\n";
        std::filesystem::current_path(m_dir);
        ui::setPrompter(&prompter);
        createForms();
    }
    ~BenchWindows()
    {
        destroyForms();
        ui::setPrompter(nullptr);
        std::filesystem::remove_all(m_dir);
    }
    BenchWindows(const BenchWindows&) = delete;
    BenchWindows& operator=(const BenchWindows&) = delete;

    const std::string& dir() const { return m_dir; }

    AnsweringPrompter prompter;

private:
    std::string m_dir;
};
