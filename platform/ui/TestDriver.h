#pragma once
// Remote control of the running program for whole-process tests.
//
// When the environment variable SORVEX_TEST_DRIVER names a path, the program
// listens there on a local socket (StartTestDriverFromEnvironment, called once
// before the message loop starts). The server lives in the GUI thread's event
// loop, so the nested loops of modal windows serve it too: a test can drive a
// dialog that a click opened.
//
// Protocol: UTF-8 lines. A command is words separated by single spaces; each
// word is percent-encoded (at least "%", space, CR and LF must be encoded, so
// "Tom%20Smith" is the text "Tom Smith"). Every command gets exactly one reply
// line: "ok", "ok <payload>" or "error <message>"; payload and message are
// percent-encoded in the same way (tabs stay), so a multi-line payload such as
// a grid's rows arrives on one line.
//
// Names: a form is found by its Name among the program's forms; "Form.Comp"
// finds the component named Comp anywhere in the form's ownership tree.
//
//   windows                   the visible forms, one "Name<TAB>Caption" line each
//   wait <Form[.Comp]> <ms>   ok once it exists and shows; error on timeout
//   gone <Form[.Comp]> <ms>   ok once it is hidden or gone; error on timeout
//   waitfor <Form.Comp> <text> <ms>  ok once it shows and what get would
//                             answer contains the text; error on timeout
//   get <Form.Comp>           text, caption, checked state ("1"/"0") or item
//                             index, whatever the control shows
//   set <Form.Comp> <text>    sets the text as typing would (change events);
//                             a combo box chooses the item of that text; a
//                             check box "1"/"0" clicks it when it differs;
//                             a tab or page control chooses the tab of that
//                             caption (or index), a lookup combo box the row
//                             it would show as that text (or whose first list
//                             field is it), as the operator would
//   click <Form.Comp>         button, check box, tool button, menu item, action
//   key <Form.Comp> <key>     focuses the control and presses the key: Enter,
//                             Escape, Tab, Space, Up, Down, Left, Right, Home,
//                             End, PageUp, PageDown, Delete, Backspace, Insert,
//                             F1..F12, a letter or digit; "Ctrl+", "Shift+",
//                             "Alt+" prefixes combine
//   grid <Form.Comp>          a grid's rows as tab-separated lines, the title
//                             row first (the dataset's rows of a data grid, in
//                             the grid's column order, visible columns only)
//   tree <Form.Comp>          a tree's nodes in order, one line each, indented
//                             with one tab per level
//   select <Form.Comp> <text> selects the first tree node of that text, the
//                             data grid's first row with a cell of that text,
//                             or a tab or lookup row as set does
//   grab <Form> <png path>    saves a picture of the window
//   answer <IDOK|IDYES|IDNO|IDCANCEL>  answers the next message box (queued;
//                             boxes with no queued answer get their default)
//   input <text>              confirms the next input box (or open/save
//                             dialog: the file name) with the text (queued;
//                             with none queued they are cancelled)
//   boxes                     the message boxes shown so far, one
//                             "Caption<TAB>Text" line each (texts encoded)
//   quit                      closes the main window as the user would
//
// Actions (set, click, key, quit) are replied to before they run: a click
// that opens a modal window keeps its window open while later commands come.
// Failures of the action itself reach the program's exception handling.
// Message boxes are answered by the driver while it runs (and still written
// to SORVEX_DIALOG_LOG when that is set).

// Starts the server when SORVEX_TEST_DRIVER is set; false when it is set but
// the socket cannot listen (the reason goes to stderr).
bool StartTestDriverFromEnvironment();
