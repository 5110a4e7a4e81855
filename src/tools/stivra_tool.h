// Subcommands of stivra-tool, the companion program for testers and artists.
// Each returns the process exit code: 0 done, 1 not written, 2 bad arguments.
#pragma once

int tool_sound(int argc, char** argv);    // sound N FILE.wav
int tool_note(int argc, char** argv);     // note VOICE NOTE FILE.wav
int tool_song(int argc, char** argv);     // song S SECONDS FILE.wav
int tool_sound_hashes(int argc, char** argv);  // sound-hashes
int tool_picture_hashes(int argc, char** argv);  // picture-hashes
int tool_sprites(int argc, char** argv);  // sprites FILE.bmp
int tool_figures(int argc, char** argv);  // figures FILE.bmp
int tool_newgame(int argc, char** argv);  // newgame [--seed N]
int tool_ico(int argc, char** argv);      // ico FILE.ico
int tool_png(int argc, char** argv);      // png SIZE FILE.png
int tool_replay(int argc, char** argv);   // replay FILE [--frames DIR] [--trace] [--from N] [--to M]
int tool_autoplay(int argc, char** argv); // autoplay [--seed N] [--record FILE] [--max-minutes M]
int tool_page_constants(int argc, char** argv);  // page-constants FILE.js

// The one line of a failure: "stivra-tool COMMAND: cannot write FILE: reason"
// (the reason from the failed write); returns 1.
int tool_write_failed(const char* command, const char* file_name);
// After a command's text went to standard output: 0 when all of it was
// written, else 1 with one line on standard error, so that a file the
// output was redirected into never ends up short unnoticed.
int tool_stdout_written(const char* command);
// "usage: stivra-tool LINE" on standard error; returns 2.
int tool_usage(const char* line);
