#pragma once

#include "platform/file_query.h"
#include "platform/process_start.h"
#include "platform/registry_reader.h"
#include "platform/shell_open.h"

namespace dv {

// What the About box reaches the platform through, besides its form.
struct AboutBoxServices {
    ShellOpen& shell;
    RegistryReader& registry;
    FileQuery& files;
    ProcessStart& processes;
};

}  // namespace dv
