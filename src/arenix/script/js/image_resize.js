// DownImage(ImgD): fits a picture into 500 pixels of width (CommScriptImage).

var flag = true;
function DownImage(ImgD) {
  var image = new Image();
  image.src = ImgD.src;
  if (image.width > 0 && image.height > 0) {
    flag = true;
    if (image.width > 500) {
      ImgD.width = 500;
      ImgD.height = Math.round(image.height * 500 / image.width);
    } else {
      ImgD.width = image.width;
      ImgD.height = image.height;
    }
  }
}
