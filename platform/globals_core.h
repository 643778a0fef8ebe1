// How a module lists its globals once. The owner's header has a list macro, one line a
// global as X(type, name, start value) with its comment, and declares them with
// LIST(GLOBAL_EXTERN); the owner's .cpp defines them with LIST(GLOBAL_DEFINE), and the
// tests put them back between tests with LIST(GLOBAL_RESET). The start value comes last
// and may hold commas (a record's braces).
#pragma once

#define GLOBAL_EXTERN(type, name, ...) extern type name;
#define GLOBAL_DEFINE(type, name, ...) type name = __VA_ARGS__;
#define GLOBAL_RESET(type, name, ...) name = __VA_ARGS__;
