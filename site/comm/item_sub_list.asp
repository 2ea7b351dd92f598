<%@ Language=JavaScript %>
<!--#include file="../inc/meet.inc"-->
<!--#include file="../inc/stage.inc"-->
<%
// The sub-event selector of an event, for the event selector's ShowAjax call.
arenix.CommCheckInject(Request, Response);
openMeet();
subEventSelect(param("item"), param("item_sub"));
closeMeet();
%>
