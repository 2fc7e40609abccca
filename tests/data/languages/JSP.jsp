<%@ page contentType="text/html; charset=UTF-8" pageEncoding="UTF-8" %>
<%@ page import="java.util.*, java.text.SimpleDateFormat" %>
<%!
    // Declarations: shared by every request of this page.
    private static final int PAGE_SIZE = 10;

    private String escape(String s) {
        if (s == null) return "";
        return s.replace("&", "&amp;").replace("<", "&lt;").replace("'", "&#39;");
    }
%>
<%
    String user = (String) session.getAttribute("user");
    int pageNo = 1;
    try {
        pageNo = Integer.parseInt(request.getParameter("page"));
    } catch (NumberFormatException e) {
        /* no page parameter: stay on the first page */
    }
    List<String> items = new ArrayList<>();
    for (int i = 0; i < PAGE_SIZE; i++) {
        items.add("Item " + ((pageNo - 1) * PAGE_SIZE + i + 1));
    }
%>
<!DOCTYPE html>
<html>
<head>
  <title>Catalogue, page <%= pageNo %></title>
  <style>
    li.odd { background: #f4f4f4; }
  </style>
</head>
<body>
  <h1>Welcome, <%= user != null ? escape(user) : "guest" %>!</h1>
  <ul>
  <% for (int i = 0; i < items.size(); i++) { %>
    <li class="row<%= i % 2 %>"><%= escape(items.get(i)) %></li>
  <% } %>
  </ul>
  <p>Generated <%= new SimpleDateFormat("yyyy-MM-dd HH:mm").format(new Date()) %> &copy; Example</p>
  <a href="catalogue.jsp?page=<%= pageNo + 1 %>">next page</a>
  <script>
    var shown = <%= items.size() %>;
    if (shown === 0) { alert("No items"); }
  </script>
</body>
</html>
