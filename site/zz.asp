<% var x = 1; %>hi
