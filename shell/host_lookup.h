#pragma once

// Registers the library's messages, finds the taskbar's windows, takes the
// skin base directory from path (null: none), notes the version and takes
// a first time snapshot.
void InitClockHost(const char *path);

// Registers the library's messages and stores their ids.
void RegisterClockMessages();

// The directory part of a path as the skin base directory takes it; out
// holds size bytes. Exposed for its tests.
void DirectoryOfPath(const char *path, char *out, int size);
