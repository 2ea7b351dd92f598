<!--#include file="inc/meet.inc"--><% openMeet(); closeMeet(); %>hi
