// Instruction counts of the measured pieces and their floors, for a noisy machine: run under
// callgrind (see count_instructions.sh), each section is collected on its own and dumped
// under its name.
#pragma once

// Runs every section once with collection switched on around it alone. Called by main for
// "--instructions"; without valgrind it only runs the work.
int RunInstructionSections();
