#pragma once

// Standard input, output and error as a program of ours must find them. A program started
// with one of them closed would hand that number to the next file it opens, and output
// meant for the terminal (the length trace, which the exporter writes to the standard output
// it inherits from the desktop program) would land in that file, the ADIF file included.
namespace StandardDescriptors {

// Opens /dev/null on each of descriptors 0, 1 and 2 that is not open, standard output so that
// writes to it fail as on a closed one. Call first in main.
void Ensure();

}  // namespace StandardDescriptors
