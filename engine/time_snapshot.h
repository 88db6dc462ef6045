#pragma once

// Reads the local time into CurrentDigits, IsMorning and ColonVisible.
void SnapshotTime();
