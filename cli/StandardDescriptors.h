#pragma once

// The three standard streams as the caller hands them over.
namespace tolvane {

// A standard stream that the caller closed (`>&-`) leaves its number free, and the next file the
// program opens takes it: standard output would then write into a data file, or standard input
// read from the target. So, first thing, each closed one is taken by /dev/null opened the other
// way round, so that using it still fails as on a closed stream, with EBADF, and no file can
// take its place. It changes the process's descriptors, which is why only main calls it.
void TakeClosedStandardDescriptors();

}  // namespace tolvane
