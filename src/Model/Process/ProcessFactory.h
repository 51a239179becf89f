#pragma once

#include "Process.h"

#include <QMutex>
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

namespace Model {
namespace Process {

// The process-wide process catalogue: process id → Process, i.e. which materials each process
// kind may act on. Kept in "processes.xml" beside "materials.xml". Every public function holds
// the catalogue's (non-recursive) mutex for its whole run and calls no other public function.
class ProcessFactory {
public:
    static constexpr const char *kFileName = "processes.xml";

    static std::shared_ptr<ProcessFactory> instance();

    ProcessFactory(const ProcessFactory &) = delete;
    ProcessFactory &operator=(const ProcessFactory &) = delete;

    // A copy of the entry, or a default Process (id 0) when there is none.
    Process process(uint32_t id);
    // All entries in ascending id order.
    std::vector<Process> processes();
    // Inserts or replaces the entry under its id; id 0 is refused (returns false).
    bool setProcess(const Process &process);

    // Replaces the catalogue with the entries of "processes.xml". False when the file is missing
    // or unreadable or its root is not "Processes" (the catalogue is then untouched), or when it
    // is not well-formed XML (the catalogue then holds what was read before the error).
    bool loadProcesses();
    // Writes the whole catalogue to "processes.xml", creating the folder when needed; returns
    // whether the file was written.
    bool saveProcesses();
    // Replaces the catalogue with the built-in processes.
    void createDefaultProcesses();
    // Adds each built-in process whose id the catalogue lacks; loaded entries stay as they are.
    void mergeDefaultProcesses();

private:
    ProcessFactory() = default;

    std::map<uint32_t, Process> catalogue;
    QMutex mutex;
};

} // namespace Process
} // namespace Model
