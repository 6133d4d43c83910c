// What the running machine says about itself, offered first in the system
// information dialog: processor, memory, disk, operating system and build.
#pragma once

#include <QString>

namespace nimbra {

class MachineFacts {
public:
    static QString processor();        // "model name" of /proc/cpuinfo
    static QString memory();           // MemTotal of /proc/meminfo, as "%dM"
    static QString disk();             // size of the home folder's file system, as "%dG"
    static QString operatingSystem();  // the distribution's pretty name
    static QString osBuild();          // the kernel version
};

}  // namespace nimbra
