<%@ Language=JavaScript %>
<%
// Ends the session at once, also for requests of it that are still running.
Session.Abandon();
Response.Redirect("index.asp");
%>
