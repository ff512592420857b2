// Programs started with pipes on their standard input, output and error
// (CreateProcess), exchanged with through overlapped named pipes so that
// neither side ever blocks the other.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/os.h"
#include "platform/win32/command_line.h"

namespace {

constexpr int WIN32_MAX_CHILDREN = 8;
constexpr DWORD WIN32_PIPE_BYTES = 65536;
// The exit code a killed child reports, as a SIGKILL does on Linux.
constexpr DWORD WIN32_KILLED_CODE = 128 + 9;

// One of our ends of a pipe, with the overlapped operation that may be in
// flight on it and the bytes it moves.
struct PipeEnd {
    HANDLE handle = INVALID_HANDLE_VALUE;
    OVERLAPPED overlapped{};
    bool pending = false;
    DWORD requested = 0;
    char buffer[WIN32_PIPE_BYTES];
};

struct ChildSlot {
    bool used = false;
    HANDLE process = nullptr;
    PipeEnd ends[3];  // input, output, error
};

struct ChildTable {
    ChildSlot slots[WIN32_MAX_CHILDREN];
    unsigned long pipe_serial = 0;
} g_children;

enum { END_INPUT, END_OUTPUT, END_ERROR };

// A named pipe whose server end (ours, overlapped) moves data one way and
// whose client end (the child's, inheritable, synchronous) the other.
bool make_pipe(bool child_reads, PipeEnd& ours, HANDLE& theirs) {
    char name[96];
    std::snprintf(name, sizeof name, "\\\\.\\pipe\\fuga-%lu-%lu", GetCurrentProcessId(), ++g_children.pipe_serial);
    DWORD direction = child_reads ? PIPE_ACCESS_OUTBOUND : PIPE_ACCESS_INBOUND;
    ours.handle = CreateNamedPipeA(name, direction | FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE,
                                   PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT, 1, WIN32_PIPE_BYTES,
                                   WIN32_PIPE_BYTES, 0, nullptr);
    if (ours.handle == INVALID_HANDLE_VALUE) return false;
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    theirs = CreateFileA(name, child_reads ? GENERIC_READ : GENERIC_WRITE, 0, &inherit, OPEN_EXISTING, 0, nullptr);
    if (theirs == INVALID_HANDLE_VALUE) {
        CloseHandle(ours.handle);
        ours.handle = INVALID_HANDLE_VALUE;
        return false;
    }
    ours.overlapped = OVERLAPPED{};
    ours.overlapped.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ours.pending = false;
    return ours.overlapped.hEvent != nullptr;
}

// Cancels what is in flight on the end and closes it.
void close_end(PipeEnd& end) {
    if (end.handle != INVALID_HANDLE_VALUE) {
        if (end.pending) {
            DWORD n = 0;
            CancelIoEx(end.handle, &end.overlapped);
            GetOverlappedResult(end.handle, &end.overlapped, &n, TRUE);
            end.pending = false;
        }
        CloseHandle(end.handle);
        end.handle = INVALID_HANDLE_VALUE;
    }
    if (end.overlapped.hEvent) CloseHandle(end.overlapped.hEvent);
    end.overlapped = OVERLAPPED{};
}

ChildSlot* slot_of(const OsChild& child) {
    if (child.pid < 0) return nullptr;
    for (ChildSlot& slot : g_children.slots)
        if (slot.used && GetProcessId(slot.process) == static_cast<DWORD>(child.pid)) return &slot;
    return nullptr;
}

enum class Harvest { Nothing, Moved, Closed };

// Collects the end's finished operation without waiting: the bytes it moved,
// or that the other side closed the pipe.
Harvest harvest(PipeEnd& end, DWORD& moved) {
    moved = 0;
    if (!end.pending) return Harvest::Nothing;
    if (GetOverlappedResult(end.handle, &end.overlapped, &moved, FALSE)) {
        end.pending = false;
        return Harvest::Moved;
    }
    if (GetLastError() == ERROR_IO_INCOMPLETE) return Harvest::Nothing;
    end.pending = false;
    return Harvest::Closed;
}

// Starts an overlapped read or write; false when the pipe is closed.
bool begin(PipeEnd& end, bool reading, DWORD bytes) {
    ResetEvent(end.overlapped.hEvent);
    end.requested = bytes;
    BOOL done = reading ? ReadFile(end.handle, end.buffer, bytes, nullptr, &end.overlapped)
                        : WriteFile(end.handle, end.buffer, bytes, nullptr, &end.overlapped);
    if (!done && GetLastError() != ERROR_IO_PENDING) return false;
    // Finished or not, the result is collected through the overlapped record.
    end.pending = true;
    return true;
}

// Keeps a read in flight on an output end and appends what arrived; false
// at the end of the pipe.
bool pump_output(PipeEnd& end, std::string& into, bool& progress) {
    for (int round = 0; round < 64; ++round) {
        DWORD n = 0;
        Harvest h = harvest(end, n);
        if (h == Harvest::Closed) return false;
        if (h == Harvest::Moved) {
            into.append(end.buffer, n);
            progress = true;
        }
        if (end.pending) return true;
        if (!begin(end, true, WIN32_PIPE_BYTES)) return false;
    }
    return true;
}

void close_child_end(OsChild& child, int which) {
    ChildSlot* slot = slot_of(child);
    if (slot) close_end(slot->ends[which]);
    int* field = which == END_INPUT ? &child.input : which == END_OUTPUT ? &child.output : &child.error;
    *field = -1;
}

}  // namespace

bool os_child_start(const char* const* argv, OsChild& child) {
    child = OsChild{};
    if (!argv || !argv[0] || !*argv[0]) return false;
    std::string program = os_find_program(argv[0]);
    if (program.empty()) return false;
    std::string command_line = win32_command_line(argv);
    if (command_line.empty()) return false;

    ChildSlot* slot = nullptr;
    for (ChildSlot& s : g_children.slots)
        if (!s.used) {
            slot = &s;
            break;
        }
    if (!slot) return false;

    HANDLE theirs[3] = {INVALID_HANDLE_VALUE, INVALID_HANDLE_VALUE, INVALID_HANDLE_VALUE};
    bool piped = make_pipe(true, slot->ends[END_INPUT], theirs[0]) &&
                 make_pipe(false, slot->ends[END_OUTPUT], theirs[1]) &&
                 make_pipe(false, slot->ends[END_ERROR], theirs[2]);

    // Only the three pipe ends go to the child, none of our other handles.
    SIZE_T list_bytes = 0;
    InitializeProcThreadAttributeList(nullptr, 1, 0, &list_bytes);
    std::string list_storage(list_bytes, '\0');
    auto list = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(list_storage.data());
    bool listed = piped && InitializeProcThreadAttributeList(list, 1, 0, &list_bytes) &&
                  UpdateProcThreadAttribute(list, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, theirs, sizeof theirs,
                                            nullptr, nullptr);

    PROCESS_INFORMATION info{};
    bool started = false;
    if (listed) {
        STARTUPINFOEXA startup{};
        startup.StartupInfo.cb = sizeof startup;
        startup.StartupInfo.dwFlags = STARTF_USESTDHANDLES;
        startup.StartupInfo.hStdInput = theirs[0];
        startup.StartupInfo.hStdOutput = theirs[1];
        startup.StartupInfo.hStdError = theirs[2];
        startup.lpAttributeList = list;
        std::string mutable_line = command_line;
        started = CreateProcessA(program.c_str(), mutable_line.data(), nullptr, nullptr, TRUE,
                                 CREATE_NO_WINDOW | EXTENDED_STARTUPINFO_PRESENT, nullptr, nullptr,
                                 &startup.StartupInfo, &info);
    }
    if (listed) DeleteProcThreadAttributeList(list);
    for (HANDLE h : theirs)
        if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    if (!started) {
        for (PipeEnd& end : slot->ends) close_end(end);
        return false;
    }
    CloseHandle(info.hThread);
    slot->used = true;
    slot->process = info.hProcess;
    child.pid = static_cast<int>(info.dwProcessId);
    child.input = END_INPUT;
    child.output = END_OUTPUT;
    child.error = END_ERROR;
    return true;
}

OsChildIo os_child_exchange(OsChild& child, const char* data, size_t size, size_t& written, std::string& out,
                            std::string& err, int wait_ms) {
    ChildSlot* slot = slot_of(child);
    bool want_write = child.input >= 0 && written < size;
    if (!slot || child.output < 0) return want_write ? OsChildIo::Failed : OsChildIo::Ended;
    PipeEnd& input = slot->ends[END_INPUT];
    PipeEnd& output = slot->ends[END_OUTPUT];
    PipeEnd& error = slot->ends[END_ERROR];
    bool progress = false;

    for (int pass = 0; pass < 2; ++pass) {
        if (child.input >= 0) {
            DWORD n = 0;
            Harvest h = harvest(input, n);
            if (h == Harvest::Closed) {
                close_child_end(child, END_INPUT);
                return OsChildIo::Failed;
            }
            if (h == Harvest::Moved) {
                written += n;
                progress = true;
            }
            if (!input.pending && written < size) {
                DWORD chunk = static_cast<DWORD>(size - written < WIN32_PIPE_BYTES ? size - written : WIN32_PIPE_BYTES);
                std::memcpy(input.buffer, data + written, chunk);
                if (!begin(input, false, chunk)) {
                    close_child_end(child, END_INPUT);
                    return OsChildIo::Failed;
                }
            }
        }
        if (child.error >= 0 && !pump_output(error, err, progress)) close_child_end(child, END_ERROR);
        if (!pump_output(output, out, progress)) {
            close_child_end(child, END_OUTPUT);
            // Whatever it still says on its error output belongs to this end.
            if (child.error >= 0) {
                DWORD n = 0;
                if (error.pending && GetOverlappedResult(error.handle, &error.overlapped, &n, TRUE)) {
                    error.pending = false;
                    err.append(error.buffer, n);
                }
                pump_output(error, err, progress);
            }
            return written < size && child.input >= 0 ? OsChildIo::Failed : OsChildIo::Ended;
        }
        if (progress || pass == 1 || wait_ms <= 0) break;
        HANDLE events[3];
        DWORD count = 0;
        for (PipeEnd* end : {&input, &output, &error})
            if (end->handle != INVALID_HANDLE_VALUE && end->pending) events[count++] = end->overlapped.hEvent;
        if (count == 0 || WaitForMultipleObjects(count, events, FALSE, static_cast<DWORD>(wait_ms)) == WAIT_TIMEOUT)
            break;
    }
    return progress ? OsChildIo::Progress : OsChildIo::Idle;
}

void os_child_close_input(OsChild& child) {
    if (child.input >= 0) close_child_end(child, END_INPUT);
}

int os_child_finish(OsChild& child, bool kill_it) {
    ChildSlot* slot = slot_of(child);
    if (!slot) {
        child = OsChild{};
        return -1;
    }
    // A child that already ended keeps its own exit code.
    if (kill_it) TerminateProcess(slot->process, WIN32_KILLED_CODE);
    for (PipeEnd& end : slot->ends) close_end(end);
    WaitForSingleObject(slot->process, INFINITE);
    DWORD code = 0;
    int result = GetExitCodeProcess(slot->process, &code) ? (code > 255 ? 255 : static_cast<int>(code)) : -1;
    CloseHandle(slot->process);
    slot->process = nullptr;
    slot->used = false;
    child = OsChild{};
    return result;
}
