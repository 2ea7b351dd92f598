// Picture zoom and the picture viewer of CommScriptImage. Addresses and titles
// of pictures are kept in a list and the viewer is opened by index, so no
// quote in them can end the click handler.

function cgimg(o) {
  var e = window.event;
  var zoom = parseInt(o.style.zoom, 10) || 100;
  zoom += (e && e.wheelDelta ? e.wheelDelta : 0) / 12;
  if (zoom > 0) {
    o.style.zoom = zoom + "%";
  }
  return false;
}
var orvelPictures = [];
function OrvelAttribute(s) {
  return String(s).replace(/&/g, "&amp;").replace(/"/g, "&quot;").replace(/'/g, "&#39;").replace(/</g, "&lt;").replace(/>/g, "&gt;");
}
function OrvelOpenPicture(index) {
  var picture = orvelPictures[index];
  var viewer = window.open("../comm/orvel_FileView.asp?FileType=Image&Url=" + picture[0] + "&Title=" + picture[1], "photo_edit_windows", "width=700,height=540,resizable=yes,scrollbars=yes,status=no,toolbar=no,menubar=no,location=no");
  if (viewer) {
    viewer.focus();
  }
}
function orvel_showpic(pic_url, pic_width, pic_height, pic_width_right, pic_height_right, pic_border_width, pic_title, allow_open_windows) {
  var width = Number(pic_width);
  var height = Number(pic_height);
  if (width > pic_width_right) {
    height = height * pic_width_right / width;
    width = Number(pic_width_right);
  }
  if (height > pic_height_right) {
    width = width * pic_height_right / height;
    height = Number(pic_height_right);
  }
  var img = "<img src=\"" + OrvelAttribute(pic_url) + "\" width=\"" + Math.round(width) + "\" height=\"" + Math.round(height) + "\" border=\"" + OrvelAttribute(pic_border_width) + "\"";
  if (allow_open_windows == "no_open") {
    document.write(img + ">");
  } else {
    orvelPictures.push([pic_url, pic_title]);
    document.write(img + " title=\"按此在网络图像浏览器中查看图片\" style=\"cursor:pointer\" onclick=\"OrvelOpenPicture(" + (orvelPictures.length - 1) + ")\">");
  }
}
