// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace Ionaria::sim {
class Handlers;
struct ParamStore;
} // namespace Ionaria::sim

namespace Ionaria::config {

// A failure told to the user: the title and the text of its message box.
struct Message {
    std::string title;
    std::string text;
};

// Configuration files (".C14"): twenty 128-byte records, the signature
// "KIVAR" and then every parameter as text; a twenty-first, "1", when the
// potentials follow the concentrations, and a twenty-second, "1", when
// hydrogen's overpotential counts (the twenty-first then "0" if need be).
// Without the options, a file is written as programs that read twenty
// records expect it.
class ConfigFile {
public:
    // The records by position from 0: the one order in which records()
    // writes them and load() reads them.
    enum Record : std::size_t {
        Signature,
        Montage,     // Option2
        Scale,       // Option1, "1" at the macroscopic scale
        Stop,        // Check1, the programmed stop
        Speed,       // HScroll2
        Voltage,     // UpDown1
        Current,     // UpDown2
        Nature1,     // Combo2 0, list position
        Nature2,     // Combo2 1, list position
        Electrolyte, // Combo1, list position
        FirstBox,    // the ten numeric boxes Text2, in index order
        Nernst = FirstBox + 10,
        Surtension,
    };
    // The same records numbered from 1, as the record file counts them.
    static constexpr int recordCount = Record::Nernst;
    static constexpr int recordNernst = Record::Nernst + 1;
    static constexpr int recordSurtension = Record::Surtension + 1;
    static constexpr const char* signature = "KIVAR";
    static constexpr const char* extension = ".C14";

    // The records of the parameters, in file order: twenty, or twenty-one
    // with the option of the concentrations.
    static std::vector<std::string> records(const sim::ParamStore& params);

    // Writes the parameters to path; the old file stays whole if it fails.
    static std::optional<Message> save(const std::string& path, const sim::ParamStore& params);

    // Loads a configuration through the handlers, as if the user had made each
    // choice, then resets. Nothing changes when the file cannot be read, is
    // not a configuration or holds a record no control can take.
    static std::optional<Message> load(const std::string& path, sim::Handlers& handlers);

    // The path a typed name is saved under: trimmed, its extension dropped,
    // placed in folder unless it names its own, with ".C14" appended. No
    // result for an empty name.
    static std::optional<std::string> pathForName(const std::string& typedName,
                                                  const std::string& folder);

    // The messages of the file operations.
    static Message messageNoName();
    static Message messageMissing();
    static Message messageNotConfig();
    static Message messageReadError();
    static Message messageWriteError();
};

} // namespace Ionaria::config
