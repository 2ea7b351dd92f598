<%@ Language=JavaScript %>
<%
// Ends the recorder's session.
Session.Abandon();
Response.Redirect("index.asp");
%>
