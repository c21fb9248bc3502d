#pragma once

class FileControl;
class TextString;

// Splits the value of a mail or news header that names a sender ("From:") into the sender's
// display name, e-mail address and date-and-time text:
// - the address is the first word the e-mail word test takes (its link text, without angle
//   brackets or quotes);
// - the date and time are the last date word (two slashes) and the last time word (colons)
//   left, as "time date";
// - the name is the text between the first pair of double quotes, else between the first
//   "(" and the next ")", else what remains; "Surname, First" becomes "First Surname"; an
//   empty name is made from the address's part before the "@" ("joe.bloggs" gives
//   "joe bloggs"), else it is the whole address.
// The three outputs are emptied first. Without a Context on fc no address is looked for.
void SplitMailSender(FileControl& fc, const TextString& line, TextString& name,
                     TextString& address, TextString& dateTime);
