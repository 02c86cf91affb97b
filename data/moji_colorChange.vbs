' Link buttons VELD0 to VELD9: the first colour normally, the second colour
' while the mouse is over a button, and a click opens the button's target.
' Once the page has loaded, a highlight runs along the buttons for a few
' seconds so that the reader sees they react.
' The merge writes its values into string literals, joining a line break in with
' Chr(): so they are read through functions, where any expression may stand.
Dim sweepStep

Function NormalColour()
    NormalColour = "[color1]"
End Function

Function OverColour()
    OverColour = "[color2]"
End Function

Function LinkTarget(n)
    Select Case n
        Case 0
            LinkTarget = "[LINK0]"
        Case 1
            LinkTarget = "[LINK1]"
        Case 2
            LinkTarget = "[LINK2]"
        Case 3
            LinkTarget = "[LINK3]"
        Case 4
            LinkTarget = "[LINK4]"
        Case 5
            LinkTarget = "[LINK5]"
        Case 6
            LinkTarget = "[LINK6]"
        Case 7
            LinkTarget = "[LINK7]"
        Case 8
            LinkTarget = "[LINK8]"
        Case 9
            LinkTarget = "[LINK9]"
        Case Else
            LinkTarget = ""
    End Select
End Function

Function ButtonCount()
    Dim n
    n = 0
    Do While n < 10
        If document.all("VELD" & n) Is Nothing Then Exit Do
        n = n + 1
    Loop
    ButtonCount = n
End Function

Sub SetButtonColour(n, colour)
    If document.all("VELD" & n) Is Nothing Then Exit Sub
    document.all("VELD" & n).style.color = colour
End Sub

Sub go_in(n)
    SetButtonColour n, OverColour()
End Sub

Sub go_out(n)
    SetButtonColour n, NormalColour()
End Sub

Sub go_link(n)
    Dim target
    target = LinkTarget(n)
    If target <> "" Then window.location.href = target
End Sub

Sub window_onload()
    sweepStep = 0
    If ButtonCount() > 0 Then window.setTimeout "Sweep", 400
End Sub

Sub Sweep()
    Dim buttons
    Dim previous
    buttons = ButtonCount()
    If buttons = 0 Then Exit Sub
    previous = (sweepStep + buttons - 1) Mod buttons
    go_out previous
    If sweepStep >= 10 Then Exit Sub
    go_in sweepStep Mod buttons
    sweepStep = sweepStep + 1
    window.setTimeout "Sweep", 300
End Sub
