' Image blend: once the page has loaded, the image cross-fades from the
' first picture to the next one, and every five seconds back again, with
' the blendTrans filter written in its style.
Const blendImageId = "[IMGID]"
Const firstPicture = "[GAZOU1]"
Const nextPicture = "[GAZOU2]"
Dim showingFirst

Sub window_onload()
    If document.all(blendImageId) Is Nothing Then Exit Sub
    showingFirst = True
    BlendOver
    window.setInterval "BlendOver", 5000
End Sub

Sub BlendOver()
    Dim picture
    Set picture = document.all(blendImageId)
    picture.filters.item(0).Apply
    If showingFirst Then
        picture.src = nextPicture
    Else
        picture.src = firstPicture
    End If
    showingFirst = Not showingFirst
    picture.filters.item(0).Play
End Sub
