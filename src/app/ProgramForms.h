#pragma once
// The program's forms and its start-up. The month session and each form are made once, owned by
// the application, and reached through one global reference named after them; the references
// stay null until theirs is made (and are cleared again when it goes).
//
// A form joins the program with one line in MakeProgramForms(), in the order of the list there.
namespace frame {
class TCustomForm;
}

namespace app {

class TMonthSession;
class TIntro;
class TResult;
class TAboutBox;
class TReport1;

extern TMonthSession* Session;
extern TIntro* Intro;
extern TResult* Result;
extern TAboutBox* AboutBox;
extern TReport1* Report1;

// Registers the program's form classes for streams (part of RegisterProgramClasses).
void RegisterFormClasses();

// Makes the session and the forms into their references, in order: the session first (so it goes
// last), the input form (it becomes the main form and shows itself), then the result form, the
// about box and the report form.
void MakeProgramForms();
// Makes the session into Session, owned by the application.
void MakeSession();
// Makes the report form into Report1 (owned by the application) and reads its design; the last
// step of MakeProgramForms, and all the command line's report needs besides the result form.
void MakeReport();

// Inside a started frame: the application's title and help file, then the forms.
void StartProgram();

// What the process needs once, before any start-up: the user's locale settings and the stream
// classes.
void PrepareProgram();

// One run of the program in a frame of its own: StartProgram, then the loop until the main form
// closes, then the frame ends (the forms destroyed). Returns the exit status; a start-up that
// fails is reported on standard error and gives 1. After PrepareProgram it may run again and
// again in one process (the soak test does).
int RunProgramOnce();

// The whole program: PrepareProgram, a display check, RunProgramOnce.
int RunProgram();

// Shows a result form for the month "Next" chose. A hidden form fills itself as it becomes
// visible (its OnShow handler, FormShow); one already on screen would keep the old month's
// charts, lists and caption, so its OnShow handler is run first to refill it, then it comes to
// the front.
void ShowResultForm(frame::TCustomForm* result);

} // namespace app
