#pragma once

class SuiteBuilder;

// Writes a suite into "suite/" of `builder` with one component or folder for each finding the
// suite check makes; tests/app/faulty-suite.expected is what the check lists for it.
void writeFaultySuite(SuiteBuilder &builder);
