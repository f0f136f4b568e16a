#pragma once

#include <pybind11/pybind11.h>

#include "tolvane/Options.h"

namespace tolvane::python {

namespace py = pybind11;

// The keyword arguments that set a conversion's options, by their Python names: format, tone,
// policy, neutral_tone, sandhi, erhua, wade_giles, orthography, align, wrap, user_words.
//
// Applies each (name, value) of `given` to `options`: a value of the wrong type is a TypeError,
// a value outside the allowed ones a ValueError naming the option and the allowed values, an
// unknown name a TypeError. A value of None leaves the option as it is.
void ApplyOptionArguments(const py::dict& given, Options& options);

// The options as the keyword arguments that make them (ApplyOptionArguments of the result
// gives them back); user_words is None when there are none, else a dict.
py::dict OptionArgumentsOf(const Options& options);

}  // namespace tolvane::python
