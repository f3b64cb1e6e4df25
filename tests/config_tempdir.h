// A temporary working directory for tests of the configuration files.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <string>

class ConfigTempDir {
public:
    ConfigTempDir() {
        char tmpl[] = "/tmp/configtest_XXXXXX";
        if (!mkdtemp(tmpl)) ADD_FAILURE() << "mkdtemp";
        m_Dir = tmpl;
        if (!getcwd(m_Old, sizeof m_Old)) ADD_FAILURE() << "getcwd";
        if (chdir(m_Dir.c_str()) != 0) ADD_FAILURE() << "chdir";
    }
    ~ConfigTempDir() {
        if (chdir(m_Old) != 0) ADD_FAILURE() << "chdir back";
        std::string cmd = "rm -rf '" + m_Dir + "'";
        if (system(cmd.c_str()) != 0) ADD_FAILURE() << "rm";
    }
    const std::string& Path() const { return m_Dir; }

private:
    std::string m_Dir;
    char m_Old[PATH_MAX];
};
