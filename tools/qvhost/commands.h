// The commands of qvhost. Each receives the whole command line (argv[1] is the
// command's name) and returns the process exit code.
#pragma once

constexpr int kExitSuccess = 0;
constexpr int kExitFailure = 1;  // the plug-in or a file failed
constexpr int kExitUsage = 2;    // bad arguments

// qvhost info LIB
int InfoCommand(int argc, char** argv);
// qvhost dispatch LIB
int DispatchCommand(int argc, char** argv);
// qvhost render LIB IN OUT [--rate HZ] [--block N] [--param I=X]... [--program N]
//                          [--path float|double|accumulate]
int RenderCommand(int argc, char** argv);
// qvhost speed LIB [--seconds S] [render options, --path double by default]
int SpeedCommand(int argc, char** argv);
// qvhost tone OUT [--rate HZ] [--seconds S]
int ToneCommand(int argc, char** argv);
// qvhost demo OUT [--rate HZ]
int DemoCommand(int argc, char** argv);
// qvhost measure IN OUT [--rate HZ]
int MeasureCommand(int argc, char** argv);
// qvhost convert IN OUT
int ConvertCommand(int argc, char** argv);
// qvhost compare A B [--tolerance T]
int CompareCommand(int argc, char** argv);
// qvhost editor LIB OUT.png [--hold MS] [--cycles N] [--instances N] [--second]
//                           [--audio FILE [--play SECONDS]] [--param INDEX=NORMALISED]...
//                           [--dialog] [--click X,Y] [--rclick X,Y] [--drag X,Y,DX,DY]
//                           [--wheel X,Y,N] [--escape X,Y] [--lost-press X,Y] [--reframe]...
int EditorCommand(int argc, char** argv);
// qvhost validate LIB [--quick] [--seed N] [--only lifecycle|programs|state|audio|editor]...
int ValidateCommand(int argc, char** argv);
// qvhost view MODULE OUT.png [--hold MS] [--no-loop]: a VST 3 or CLAP module's editor
int ViewCommand(int argc, char** argv);
// qvhost clap MODULE [--gui]: the checks of a CLAP validator
int ClapCommand(int argc, char** argv);
// qvhost identity [FIELD]: the plug-in's names and ids in every format
int IdentityCommand(int argc, char** argv);
