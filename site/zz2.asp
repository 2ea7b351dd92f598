<!--#include file="inc/meet.inc"--><!--#include file="inc/stage.inc"-->hi
